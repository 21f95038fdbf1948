#!/usr/bin/python3
# Writes SIZE pseudo-random bytes (the same every time) to PATH: a payload file larger than one
# solid block of the install tests' payload.
import random
import sys

path, size = sys.argv[1], int(sys.argv[2])
generator = random.Random(7)
with open(path, "wb") as file:
    file.write(bytes(generator.getrandbits(8) for _ in range(size)))
