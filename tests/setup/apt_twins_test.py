#!/usr/bin/env python3
"""The choice of versions that lets wine32:i386 install from a lagging mirror.

lagging_mirror_policy.txt is `apt-cache policy` as a fresh machine printed it
while the mirror's i386 security index was out of step (the mirror's address
replaced): the amd64 side has security updates whose i386 twins are missing.
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "lib"))
import apt_twins  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def recorded():
    with open(os.path.join(HERE, "lagging_mirror_policy.txt"), encoding="utf-8") as f:
        return apt_twins.parse_policies(f.read())


class PlanTest(unittest.TestCase):
    def test_recorded_mirror(self):
        moves, stuck = apt_twins.plan(recorded())
        self.assertEqual(stuck, [])
        self.assertEqual(
            moves,
            [
                # A security update with no i386 twin yet: back to the point release.
                ("libgstreamer-plugins-base1.0-0", "1.22.0-3+deb12u7", "1.22.0-3+deb12u6"),
                # Installed from no list any more: up to the newest both have,
                # not to the amd64-only security update u2.
                ("liblzma5", "5.4.1-1", "5.4.1-1+deb12u1"),
            ],
        )
        # zlib1g and libc6 are installed at a version the i386 lists hold.

    def test_no_common_version_is_stuck(self):
        policies = recorded()
        # The i386 lists offer only a version the amd64 side never had.
        policies["zlib1g:i386"].listed = ["1:1.3-1"]
        moves, stuck = apt_twins.plan(policies)
        self.assertEqual(stuck, ["zlib1g"])
        self.assertNotIn("zlib1g", [m[0] for m in moves])

    def test_dpkg_order_not_text_order(self):
        # "+b10" sorts below "+b9" as text; dpkg puts it above.
        self.assertEqual(apt_twins.dpkg_compare("1.0-1+b10", "1.0-1+b9"), 1)
        self.assertEqual(apt_twins.dpkg_compare("1:1.0", "2.0"), 1)
        self.assertEqual(apt_twins.dpkg_compare("1.0~rc1", "1.0"), -1)


if __name__ == "__main__":
    unittest.main()
