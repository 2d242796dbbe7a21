#!/usr/bin/env python3
"""Which amd64 libraries stand in the way of an i386 package, and which
version each must move to.

A library of Multi-Arch "same" must be installed at one version in every
architecture. When the i386 lists lag behind the amd64 ones (a mirror caught
mid-sync), the installed amd64 version may have no i386 twin, and apt refuses
the i386 package that needs it. Each such library is moved to the newest
version that both architectures' lists hold: a step back where the amd64 side
had a newer update, a step up where it was older than every list.

  apt_twins.py plan POLICY_FILE   reads `apt-cache policy P P:i386 ...` output
                                  and prints one line per library to move:
                                  NAME INSTALLED TARGET (back|up); exit 1 with
                                  the names on stderr when a library has no
                                  version in both lists.
"""

import functools
import re
import subprocess
import sys

# A version line of a policy's table: " *** VERSION PRIO" for the installed
# one, "     VERSION PRIO" for the others; below each, its sources, indented
# further: "        PRIO URL ..." or "        100 /var/lib/dpkg/status".
VERSION_LINE = re.compile(r"^ (?:\*\*\*| {3}) (\S+) (-?\d+)$")
SOURCE_LINE = re.compile(r"^ {8}-?\d+ (\S+)")
STATUS_FILE = "/var/lib/dpkg/status"


class Policy:
    """One package of one architecture, as `apt-cache policy` shows it."""

    def __init__(self, name):
        self.name = name
        self.installed = None
        # Versions that some package list offers (the dpkg status alone does not).
        self.listed = []


def parse_policies(text):
    """Maps 'name' and 'name:i386' to their Policy."""
    policies = {}
    current = None
    version = None
    for line in text.splitlines():
        if line and not line.startswith(" ") and line.endswith(":"):
            current = Policy(line[:-1])
            policies[current.name] = current
            version = None
            continue
        if current is None:
            continue
        stripped = line.strip()
        if stripped.startswith("Installed:"):
            value = stripped.split(":", 1)[1].strip()
            current.installed = None if value == "(none)" else value
            continue
        match = VERSION_LINE.match(line)
        if match:
            version = match.group(1)
            continue
        match = SOURCE_LINE.match(line)
        if match and version is not None and match.group(1) != STATUS_FILE:
            if version not in current.listed:
                current.listed.append(version)
    return policies


def dpkg_compare(a, b):
    """-1, 0 or 1 as dpkg orders the two versions."""
    if a == b:
        return 0
    less = subprocess.run(["dpkg", "--compare-versions", a, "lt", b]).returncode == 0
    return -1 if less else 1


def plan(policies, compare=dpkg_compare):
    """Returns (moves, stuck): moves is a list of (name, installed, target)
    for each installed amd64 package whose version the i386 lists lack, stuck
    the names for which no version is in both lists."""
    moves, stuck = [], []
    for name in sorted(policies):
        if name.endswith(":i386"):
            continue
        amd64 = policies[name]
        i386 = policies.get(name + ":i386")
        if amd64.installed is None or i386 is None:
            continue
        if amd64.installed in i386.listed:
            continue
        both = set(amd64.listed + [amd64.installed]) & set(i386.listed)
        if not both:
            stuck.append(name)
            continue
        target = max(both, key=functools.cmp_to_key(compare))
        moves.append((name, amd64.installed, target))
    return moves, stuck


def main(argv):
    if len(argv) != 3 or argv[1] != "plan":
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[2], encoding="utf-8") as f:
        policies = parse_policies(f.read())
    moves, stuck = plan(policies)
    for name, installed, target in moves:
        way = "back" if dpkg_compare(target, installed) < 0 else "up"
        print(f"{name} {installed} {target} {way}")
    if stuck:
        print("no version in both architectures' lists: " + " ".join(stuck), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
