#!/usr/bin/env python3
"""genpkg.py SEED OUTDIR SETUP_EXE: writes one package made from SEED into OUTDIR.

A third of the packages are valid; the others carry one or two of the mistakes a package's
author makes (MISTAKES below). Beside the package the generator writes OUTDIR.kinds (the
mistakes, one a line) and OUTDIR.at (where the package is to stand on the machine: "P:" for
a drive's root, or a Windows directory for a deep one). The same seed always gives the same
package, bytes included.
"""
import os
import random
import subprocess
import sys

DIR_KEYS = ["RootDir", "SubDir1", "SubDir2", "SubDir3", "SubDir4", "SubDir5", "SubDir6",
            "WinDir", "WinSystemDir", "WinInfDir"]


def package_path(sub, name):
    """Where SUB\\NAME lies inside the package, ".." held at its top as at a drive's root;
    a drive in SUB leads nowhere (the file is put below a directory of that odd name)."""
    parts = []
    for part in sub.replace(":", "_").split("\\"):
        if part == "..":
            parts = parts[:-1]
        elif part not in ("", "."):
            parts.append(part)
    return "/".join(parts + [name])


class Package:
    def __init__(self, rng, seed):
        self.rng = rng
        self.seed = seed
        self.main = {"DefaultPath": "C:\\QTEST", "ProductName": "Test Mouse %d" % seed,
                     "MinimumSpace": "64", "OEM": "0", "DefaultSerialMouse": "0"}
        self.labels = {1: "Program files"}
        self.dirs = {"RootDir": ".", "SubDir1": "DRIVER", "SubDir2": "HELP",
                     "WinDir": "WIN", "WinSystemDir": "SYSTEM", "WinInfDir": "INF"}
        self.counts = {}  # disk -> count written (None: the lines present)
        self.disks = {1: []}  # disk -> [line text or None for a missing key]
        self.startup = {"Title": "Test Mouse Driver", "Mfg": "Testmaker",
                        "MouseDriver": "TMOUSE.DRV", "MouseInf": "TMOUSE.INF",
                        "DriverDate": "12-08-2026", "PS2InfSection": "TPS2",
                        "SerialInfSection": "TSERIAL", "PS2Name": "Test PS/2 Mouse",
                        "SeialName": "Test Serial Mouse"}
        self.files = {}  # relative path -> bytes
        self.packed = set()  # relative paths of plain files packed into NAME.XX_
        self.dir_sources = set()  # relative paths made directories
        self.cuts = {}  # relative path (packed) -> how to cut: ("tail", n) or ("head", n)
        self.at = "P:"
        self.no_script = False
        self.kinds = []
        self.serial = 0

    def source_dir(self, key):
        return self.dirs.get(key, "")

    def add_file(self, disk, key, name, size=None, pack=False, dest=None, desc=None):
        """A file line and its source; returns the line's index in its disk."""
        rng = self.rng
        if size is None:
            size = rng.randint(20, 3000)
        words = [b"mouse", b"driver", b"pointer", b"setup", b"qx", b"\r\n", b"0123"]
        data = b""
        while len(data) < size:
            data += rng.choice(words) + bytes([rng.randint(33, 126)])
        data = data[:size]
        src = name[:-1] + "_" if pack else name
        rel = package_path(self.source_dir(key), name)
        self.files[rel] = data
        if pack:
            self.packed.add(rel)
        line = "%s, %s, %s, %s" % (src, dest if dest is not None else name,
                                    desc or "File %s" % name, key)
        self.disks.setdefault(disk, []).append(line)
        return len(self.disks[disk]) - 1, rel

    def write(self, out, setup_exe):
        os.makedirs(out, exist_ok=True)
        lines = ["[Main]"] + ["%s=%s" % kv for kv in self.main.items()]
        lines += ["", "[DiskLabel]"] + ["Disk%d=%s" % (d, t) for d, t in sorted(self.labels.items())]
        lines += ["", "[DirectoryName]"] + ["%s=%s" % kv for kv in self.dirs.items()]
        lines += ["", "[FileCounts]"]
        for d in sorted(self.disks):
            count = self.counts.get(d, len(self.disks[d]))
            if count is not None:
                lines.append("Disk%d=%d" % (d, count))
        for d in sorted(self.disks):
            lines += ["", "[Disk%d]" % d]
            for i, text in enumerate(self.disks[d]):
                if text is not None:
                    lines.append("%d=%s" % (i + 1, text))
        lines += ["", "[Startup]"] + ["%s=%s" % kv for kv in self.startup.items()]
        script = ("\r\n".join(lines) + "\r\n").encode("latin-1")
        if not self.no_script:
            with open(os.path.join(out, "SETUP.INF"), "wb") as f:
                f.write(script)
        with open(setup_exe, "rb") as f, open(os.path.join(out, "SETUP.EXE"), "wb") as g:
            g.write(f.read())
        for rel, data in self.files.items():
            path = os.path.join(out, rel)
            os.makedirs(os.path.dirname(path) or out, exist_ok=True)
            if rel in self.dir_sources:
                os.makedirs(path, exist_ok=True)
                continue
            with open(path, "wb") as f:
                f.write(data)
            if rel in self.packed:
                subprocess.run(["mscompress", path], check=True, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
                os.remove(path)
                packed = path[:-1] + "_"
                os.rename(path + "_", packed)
                cut = self.cuts.get(rel)
                if cut is not None:
                    with open(packed, "rb") as f:
                        body = f.read()
                    kind, n = cut
                    if kind == "tail":
                        body = body[:max(14, len(body) - n)]
                    elif kind == "head":
                        body = body[:n]
                    else:  # altered: bytes of the body changed in place
                        body = bytearray(body)
                        for i in range(14, len(body), max(1, n)):
                            body[i] ^= 0x5A
                        body = bytes(body)
                    with open(packed, "wb") as f:
                        f.write(body)
        # The line of SETUP.INF itself lists the script as it is.
        return script


# The mistakes: each takes the package and changes it.
def m_missing_source(p):
    _, rel = p.add_file(1, "RootDir", "GONE%d.TXT" % (p.seed % 100))
    del p.files[rel]


def m_cut_packed(p):
    _, rel = p.add_file(1, "SubDir1", "CUT.DRV", size=p.rng.randint(2500, 6000), pack=True)
    p.cuts[rel] = ("tail", p.rng.randint(40, 400))


def m_altered_packed(p):
    _, rel = p.add_file(1, "SubDir1", "ALTER.DRV", size=p.rng.randint(2500, 6000), pack=True)
    p.cuts[rel] = ("alter", p.rng.randint(7, 50))


def m_header_cut(p):
    _, rel = p.add_file(1, "RootDir", "HEAD.DRV", size=500, pack=True)
    p.cuts[rel] = ("head", p.rng.randint(4, 13))


def m_name_long(p):
    if p.rng.random() < 0.5:
        p.add_file(1, "RootDir", "AVERYLONGNAME%d.TXT" % p.rng.randint(1, 9))
    else:
        p.add_file(1, "RootDir", "SHORT.TXT", dest="AVERYLONGDESTNAME.TXT")


def m_dest_path_long(p):
    p.main["DefaultPath"] = "C:\\" + "Q" * p.rng.randint(58, 62)
    p.dirs["SubDir3"] = "HELP\\IMAGES"
    p.add_file(1, "SubDir3", "LONGPATH.TXT")


def m_source_path_long(p):
    p.at = "C:\\PACKAGES\\" + "D" * p.rng.randint(45, 55)
    p.dirs["SubDir3"] = "HELP\\IMAGES"
    p.add_file(1, "SubDir3", "SRCLONG1.TXT")


def m_subdir_never_created(p):
    p.dirs["SubDir3"] = "NOPE\\IMG"
    p.add_file(1, "SubDir3", "NOPE.TXT")


def m_subdir_parent_late(p):
    p.dirs["SubDir3"] = "LATE\\IMG"
    p.dirs["SubDir4"] = "LATE"
    p.add_file(1, "SubDir3", "LATE.TXT")


def m_dir_key_unknown(p):
    p.add_file(1, "SubDir9" if p.rng.random() < 0.5 else "Root", "ODDKEY.TXT")
    # The copy reads such a file from the package's top directory: half the time it is there.
    if p.rng.random() < 0.5:
        p.files["ODDKEY.TXT"] = b"at the top of the package\r\n" * 3


def m_same_destination(p):
    p.add_file(1, "RootDir", "TWICE.TXT")
    p.add_file(1, "SubDir1", "TWICE2.TXT", dest="..\\TWICE.TXT")


def m_dots_in_subdir(p):
    p.dirs["SubDir3"] = "..\\QOUT%d" % p.rng.randint(1, 9)
    p.add_file(1, "SubDir3", "OUTSIDE.TXT")


def m_drive_in_subdir(p):
    p.dirs["SubDir3"] = "D:\\X"
    p.add_file(1, "SubDir3", "DRIVE.TXT")


def m_count_above(p):
    p.counts[1] = len(p.disks[1]) + p.rng.randint(1, 3)


def m_empty_line(p):
    p.disks[1].append("")
    p.add_file(1, "RootDir", "AFTER.TXT")


def m_label_gap(p):
    p.labels[3] = "Third disk"
    p.add_file(3, "RootDir", "DISK3.TXT")
    if p.rng.random() < 0.5:
        p.add_file(2, "RootDir", "DISK2.TXT")


def m_extra_field(p):
    i, _ = p.add_file(1, "RootDir", "EXTRA.TXT")
    p.disks[1][i] += ", something more"


def m_blanks(p):
    i, _ = p.add_file(1, "SubDir2", "BLANK.TXT")
    p.disks[1][i] = "   " + p.disks[1][i].replace(", ", "  ,   ") + "   "


def m_misspelt_startup(p):
    p.startup["SerialName"] = p.startup.pop("SeialName")
    if p.rng.random() < 0.5:
        p.main["DefaultSerialMouse"] = "1"


def m_space_above_free(p):
    p.main["MinimumSpace"] = "2000000000"


def m_short_packed(p):
    p.add_file(1, "RootDir", "TINY.DAT", size=p.rng.randint(5, 15), pack=True)


def m_no_source(p):
    i, rel = p.add_file(1, "RootDir", "NOSRC.TXT")
    p.disks[1][i] = ", NOSRC.TXT, Without a source, RootDir"
    del p.files[rel]


def m_source_is_dir(p):
    _, rel = p.add_file(1, "RootDir", "ADIR.TXT")
    p.dir_sources.add(rel)


def m_dest_bad(p):
    dest = p.rng.choice(["A?.TXT", "SUB\\A.TXT", "DRIVER\\IN.TXT", "A*B.TXT"])
    p.add_file(1, "RootDir", "BADDEST.TXT", dest=dest)


def m_dest_empty(p):
    i, _ = p.add_file(1, "RootDir", "NODEST.TXT")
    p.disks[1][i] = "NODEST.TXT, , No destination, RootDir"


def m_dest_is_dir(p):
    p.add_file(1, "RootDir", "ISDIR.TXT", dest="HELP")


def m_semicolon(p):
    i, _ = p.add_file(1, "RootDir", "SEMI.TXT")
    p.disks[1][i] = p.rng.choice(["SEMI.TXT, SEMI.TXT, Notes ; see below, RootDir",
                                  "SEMI.TXT, SEMI.TXT, Notes, RootDir ; the top"])


def m_tab(p):
    i, _ = p.add_file(1, "RootDir", "TAB.TXT")
    p.disks[1][i] = p.rng.choice(["TAB.TXT,\tTAB.TXT, Tabbed, RootDir",
                                  "TAB.TXT, TAB.TXT, Tabbed,\tRootDir"])


def m_no_script(p):
    p.no_script = True


def m_serial(p):
    p.main["DefaultSerialMouse"] = "1"


MISTAKES = [m_missing_source, m_cut_packed, m_altered_packed, m_header_cut, m_name_long,
            m_dest_path_long, m_source_path_long, m_subdir_never_created, m_subdir_parent_late,
            m_dir_key_unknown, m_same_destination, m_dots_in_subdir, m_drive_in_subdir,
            m_count_above, m_empty_line, m_label_gap, m_extra_field, m_blanks,
            m_misspelt_startup, m_space_above_free, m_short_packed, m_no_source,
            m_source_is_dir, m_dest_bad, m_dest_empty, m_dest_is_dir, m_semicolon, m_tab,
            m_no_script, m_serial]


def generate(seed):
    rng = random.Random(seed)
    p = Package(rng, seed)
    p.add_file(1, "RootDir", "SETUP.INF")  # the script itself: its bytes come later
    del p.files["SETUP.INF"]
    p.add_file(1, "RootDir", "README.TXT", pack=rng.random() < 0.3)
    p.add_file(1, "SubDir1", "TMOUSE.DRV", pack=True, size=rng.randint(1000, 8000))
    if rng.random() < 0.5:
        p.add_file(1, "SubDir2", "HELP.TXT", pack=rng.random() < 0.5)
    disk = 2 if rng.random() < 0.5 else 1
    if disk == 2:
        p.labels[2] = "Driver files"
    p.add_file(disk, "WinSystemDir", "TMOUSE%d.VXD" % (seed % 10), pack=True)
    p.add_file(disk, "WinInfDir", "TMOUSE.INF", size=rng.randint(100, 900))
    if rng.random() < 0.3:
        p.add_file(disk, "WinDir", "TMOUSE.INI", size=rng.randint(30, 200))
    if rng.random() < 0.3:
        p.add_file(1, "RootDir", "SETUP.EXE")
        del p.files["SETUP.EXE"]  # written from the real program
    if rng.random() >= 1 / 3:
        for m in rng.sample(MISTAKES, rng.choice([1, 1, 2])):
            m(p)
            p.kinds.append(m.__name__[2:])
    return p


def main():
    seed, out, setup_exe = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    p = generate(seed)
    p.write(out, setup_exe)
    with open(out + ".kinds", "w") as f:
        f.write("".join(k + "\n" for k in p.kinds) or "valid\n")
    with open(out + ".at", "w") as f:
        f.write(p.at + "\n")


if __name__ == "__main__":
    main()
