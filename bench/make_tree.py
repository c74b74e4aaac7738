#!/usr/bin/env python3
"""Writes the cache tree the clearing benchmark deletes: FILES files of 1 to 16 KiB, spread evenly over the folders
of the fourth level of a tree whose fan-out is given level by level (4x4x5x5: 400 folders at the bottom, 100
above them). Sizes and contents come from a fixed seed, so every run deletes the same tree.

Usage: make_tree.py ROOT FILES FANOUT     e.g. make_tree.py /tmp/tree 20000 4x4x5x5
"""
import itertools
import os
import random
import sys


def main():
    root, files, fanout = sys.argv[1], int(sys.argv[2]), [int(n) for n in sys.argv[3].split("x")]
    rng = random.Random(2013)
    leaves = [os.path.join(root, *(f"d{i}" for i in path)) for path in itertools.product(*map(range, fanout))]
    for leaf in leaves:
        os.makedirs(leaf)
    data = rng.randbytes(16384 + 4096)
    for n in range(files):
        size = rng.randint(1024, 16384)
        start = rng.randint(0, 4096)
        with open(os.path.join(leaves[n % len(leaves)], f"c{n:05d}.bin"), "wb") as out:
            out.write(data[start:start + size])


if __name__ == "__main__":
    main()
