#!/usr/bin/env python3
"""Summarises the benchmark's timings.

    summarize.py TIMES_FILE [TARGETS]

TIMES_FILE has one line per timed run: "payload tool seconds files bytes".
Prints, per payload and tool, the median and the minimum time, throughput at
the median (MB/s and files/s), when tar was timed too the ratio of tar's
median to the tool's (1.0 = as fast as tar) and, when cp was timed too, the
ratio of cp's median to the tool's: the share of cp's throughput the tool
reaches (cp, a copy by the kernel, is the limit). TARGETS are qzpack's least
ratios against tar: "payload=ratio,..." (a bare "ratio" for every payload);
a verdict is printed for each payload that has one.
"""
import collections
import statistics
import sys


def parse_targets(text):
    targets = {}
    for part in text.split(","):
        payload, _, ratio = part.rpartition("=")
        targets[payload or "*"] = float(ratio)
    return targets


def main():
    runs = collections.OrderedDict()
    shape = {}
    with open(sys.argv[1]) as f:
        for line in f:
            payload, tool, seconds, files, size = line.split()
            runs.setdefault(payload, collections.OrderedDict()).setdefault(tool, []).append(
                float(seconds))
            shape[payload] = (int(files), int(size))
    targets = parse_targets(sys.argv[2]) if len(sys.argv) > 2 else {}
    verdicts = []
    print("%-7s %-7s %5s %9s %9s %9s %11s %8s %8s" %
          ("payload", "tool", "runs", "median s", "min s", "MB/s", "files/s", "vs tar", "of cp"))
    for payload, tools in runs.items():
        files, size = shape[payload]
        tar = statistics.median(tools["tar"]) if "tar" in tools else None
        cp = statistics.median(tools["cp"]) if "cp" in tools else None
        for tool, times in tools.items():
            median = statistics.median(times)
            ratio = "%8.2f" % (tar / median) if tar is not None else "%8s" % "-"
            share = "%8.2f" % (cp / median) if cp is not None else "%8s" % "-"
            print("%-7s %-7s %5d %9.3f %9.3f %9.0f %11.0f %s %s" %
                  (payload, tool, len(times), median, min(times), size / median / 1e6,
                   files / median, ratio, share))
            target = targets.get(payload, targets.get("*"))
            if tool == "qzpack" and tar is not None and target is not None:
                verdicts.append((payload, tar / median, target))
    for payload, ratio, target in verdicts:
        print("qzpack against tar, %s: %.2f (target %.2f: %s)" %
              (payload, ratio, target, "met" if ratio >= target else "NOT met"))


if __name__ == "__main__":
    main()
