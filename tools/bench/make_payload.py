#!/usr/bin/env python3
"""Writes the install benchmark's payload: about 60 MiB in 2,000 files under 40 folders, the same
bytes on every run. A third of the files are text-like (compress well), a third binary-like with
repeats, a third random (do not compress), as a product's files tend to be.

    make_payload.py FOLDER
"""
import os
import random
import sys

WORDS = [b"installer", b"window", b"payload", b"skin", b"script", b"version", b"folder",
         b"registry", b"shortcut", b"language", b"progress", b"button", b"Corvala", b"Qorin"]


def text_like(rng, size):
    out = bytearray()
    while len(out) < size:
        out += b" ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 14))) + b".\r\n"
    return bytes(out[:size])


def binary_like(rng, size):
    block = rng.randbytes(512)
    out = bytearray()
    while len(out) < size:
        out += block[: rng.randint(64, 512)] + rng.randbytes(rng.randint(16, 128))
    return bytes(out[:size])


def main():
    root = sys.argv[1]
    rng = random.Random(20261208)
    total = 0
    for i in range(2000):
        folder = os.path.join(root, f"dir{i % 40:02d}")
        os.makedirs(folder, exist_ok=True)
        size = int(rng.expovariate(1 / 31000)) + 100
        kind = i % 3
        data = (text_like, binary_like, lambda r, s: r.randbytes(s))[kind](rng, size)
        with open(os.path.join(folder, f"file{i:04d}.bin"), "wb") as f:
            f.write(data)
        total += size
    print(f"{root}: 2000 files, {total / 1048576:.1f} MiB")


if __name__ == "__main__":
    main()
