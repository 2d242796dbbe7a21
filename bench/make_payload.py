#!/usr/bin/env python3
"""Writes one benchmark payload tree, the same bytes on every run.

    make_payload.py large|small|mixed DIR

large  one file of 1 GiB
medium one file of 256 MiB
small  20,000 files of 4 KiB in 200 folders
mixed  about 2,000 files of 0 to 2 MiB (log-uniform, plus the sizes around the
       extraction's 30720-byte piece) in folders nested up to four deep
"""
import os
import random
import sys

MIB = 1024 * 1024


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def one_file(root, rng, mib, name):
    block = rng.randbytes(MIB)
    path = os.path.join(root, name)
    os.makedirs(root, exist_ok=True)
    with open(path, "wb") as f:
        for i in range(mib):
            # Each MiB differs a little, so no two blocks are alike.
            f.write(i.to_bytes(4, "little") + block[4:])


def large(root, rng):
    one_file(root, rng, 1024, "large.bin")


def medium(root, rng):
    one_file(root, rng, 256, "medium.bin")


def small(root, rng):
    for d in range(200):
        for n in range(100):
            write(os.path.join(root, "d%03d" % d, "f%03d.bin" % n), rng.randbytes(4096))


def mixed(root, rng):
    pool = rng.randbytes(4 * MIB)
    sizes = [0, 1, 30719, 30720, 30721, 61440, 2 * MIB]
    while len(sizes) < 2000:
        sizes.append(0 if rng.random() < 0.03 else int(2 ** rng.uniform(0, 21)))
    for i, size in enumerate(sizes):
        depth = rng.randint(0, 4)
        folders = ["l%d_%d" % (level, rng.randint(0, 5)) for level in range(depth)]
        start = rng.randint(0, len(pool) - size)
        write(os.path.join(root, *folders, "file%04d.dat" % i), pool[start:start + size])


def main():
    kind, root = sys.argv[1], sys.argv[2]
    rng = random.Random(20240601)
    {"large": large, "medium": medium, "small": small, "mixed": mixed}[kind](root, rng)


if __name__ == "__main__":
    main()
