#!/usr/bin/env python3
"""Writes the benchmark package's SETUP.INF: write-bench-script.py PKG

Installs every file of PKG/DATA, half on each of two disks, into C:\\BENCH\\SETUP\\DATA;
a packed file (*_) is installed under its name ending in "T". CRLF lines, as a package
author's editor would write them.
"""
import os, sys
pkg = sys.argv[1]
names = sorted(os.listdir(os.path.join(pkg, "DATA")))
half = len(names) // 2
disks = [names[:half], names[half:]]
lines = ["[Main]", "DefaultPath=C:\\BENCH\\SETUP", "ProductName=Bench Mouse", "MinimumSpace=1024",
         "OEM=0", "DefaultSerialMouse=0", "", "[DiskLabel]", "Disk1=Data 1", "Disk2=Data 2", "",
         "[DirectoryName]", "RootDir=.", "SubDir1=DATA", "WinDir=WIN", "WinSystemDir=SYSTEM",
         "WinInfDir=INF", "", "[FileCounts]"]
lines += ["Disk%d=%d" % (d + 1, len(files)) for d, files in enumerate(disks)]
for d, files in enumerate(disks):
    lines += ["", "[Disk%d]" % (d + 1)]
    for i, n in enumerate(files):
        dest = n[:-1] + "T" if n.endswith("_") else n
        lines.append("%d=%s, %s, Benchmark file, SubDir1" % (i + 1, n, dest))
lines += ["", "[Startup]", "Title=Bench Mouse Driver", "Mfg=Bench", "MouseDriver=BENCH.DRV",
          "MouseInf=BENCH.INF", "DriverDate=12-07-2026", "PS2InfSection=BPS2",
          "SerialInfSection=BSERIAL", "PS2Name=Bench PS/2 Mouse", "SeialName=Bench Serial Mouse", ""]
with open(os.path.join(pkg, "SETUP.INF"), "w", newline="\r\n") as f:
    f.write("\n".join(lines))
