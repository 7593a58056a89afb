#!/usr/bin/env python3
"""Writes the benchmark's data files: make-bench-data.py DIR FILES MEGABYTES

FILES files of about MEGABYTES MB in all, reproducible (fixed seed): text made of random
words, every fourth file binary-looking. The odd-numbered files are named *.DAX, to be
packed by the caller with mscompress into *.DA_; the others are *.DAT and stay plain.
"""
import os, random, sys
out, files, mb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(2026)
words = [bytes(random.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(random.randint(2, 9)))
         for _ in range(4000)]
mean = mb * 1000 * 1000 // files
for i in range(files):
    size = random.randint(mean // 2, mean * 3 // 2)
    if i % 4 == 3:  # some binary-looking files
        data = bytearray(random.getrandbits(8) if random.random() < 0.3 else 0 for _ in range(size // 16)) * 16
    else:
        parts, n = [], 0
        while n < size:
            w = random.choice(words)
            parts.append(w)
            n += len(w) + 1
        data = b" ".join(parts)
    data = bytes(data[:size])
    # Half of the files are packed: their names end in "_".
    name = "F%04d.%s" % (i, "DA_" if i % 2 else "DAT")
    with open(os.path.join(out, name if i % 2 == 0 else name[:-1] + "X"), "wb") as f:
        f.write(data)
