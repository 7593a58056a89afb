#!/usr/bin/env python3
"""Checks that a 32-bit Windows program loads on a bare Windows 95 and runs on a 486.

    check_win9x.py [--objdump i686-w64-mingw32-objdump] [--lists DIR] [--console] EXE

Fails (exit code 1, one line per reason) when the program
  - is not a PE32 GUI program (with --console: a console program) with subsystem version 4.0
    and OS version 4.0;
  - imports a DLL other than KERNEL32, USER32, GDI32, ADVAPI32, COMDLG32, LZ32, SHELL32, COMCTL32;
  - imports from KERNEL32 or ADVAPI32 a function that Windows 95 does not export
    (kernel32-win95.txt, advapi32-win95.txt), or the wide form of a function whose ANSI form
    exists (the wide forms are failing stubs on Windows 9x);
  - imports from another DLL a function missing from the reviewed allowed-imports.txt;
  - imports by ordinal;
  - holds an instruction that a 486 lacks (cmov, fcmov, fcomi, MMX, SSE, cpuid, rdtsc, ...).
"""
import argparse
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

ALLOWED_DLLS = ["KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL", "COMDLG32.DLL",
                "LZ32.DLL", "SHELL32.DLL", "COMCTL32.DLL"]
# DLLs whose exports on Windows 95 are known from the export lists.
EXPORT_LISTS = {"KERNEL32.DLL": "kernel32-win95.txt", "ADVAPI32.DLL": "advapi32-win95.txt"}

# Instructions a 486 (the floor of Windows 95/98) does not have. Matched against the mnemonic.
NEWER_MNEMONICS = re.compile(
    r"^(cmov\w+|fcmov\w+|f(u)?comip?|cpuid|rdtsc|rdtscp|rdpmc|cmpxchg8b|cmpxchg16b|"
    r"sysenter|sysexit|syscall|sysret|ud2|emms|femms|ldmxcsr|stmxcsr|fxsave|fxrstor|"
    r"sfence|lfence|mfence|clflush|movnti|prefetch\w*|pause|"
    r"popcnt|lzcnt|tzcnt|movbe|crc32|andn|bextr|blsi|blsmsk|blsr|bzhi|mulx|pdep|pext|rorx|"
    r"sarx|shlx|shrx|adcx|adox|v\w+)$")
# MMX and SSE/AVX registers in an operand.
NEWER_REGISTERS = re.compile(r"%(mm[0-7]|[xyz]mm[0-9]+|k[0-7])\b")


def read_names(path):
    names = set()
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                names.add(line)
    return names


def read_allow_list(path):
    """allowed-imports.txt: [DLL] headers, then one function name a line; # comments."""
    allowed = {}
    dll = None
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            m = re.fullmatch(r"\[([A-Za-z0-9_]+(\.[A-Za-z]+)?)\]", line)
            if m:
                dll = m.group(1).upper()
                if "." not in dll:
                    dll += ".DLL"
                allowed.setdefault(dll, set())
            elif dll is None:
                raise SystemExit(f"{path}:{number}: function before any [DLL] header")
            else:
                allowed[dll].add(line)
    return allowed


def run(objdump, args, exe):
    try:
        out = subprocess.run([objdump] + args + [exe], check=True, capture_output=True,
                             text=True, errors="replace")
    except FileNotFoundError:
        raise SystemExit(f"check_win9x: {objdump} not found")
    except subprocess.CalledProcessError as e:
        raise SystemExit(f"check_win9x: {objdump} {' '.join(args)} failed: {e.stderr.strip()}")
    return out.stdout


def parse_headers(text):
    """The PE header fields and the import table of `objdump -p` output."""
    fields = {}
    m = re.search(r"file format (\S+)", text)
    fields["format"] = m.group(1) if m else "?"
    for key in ("Magic", "Subsystem", "MajorOSystemVersion", "MinorOSystemVersion",
                "MajorSubsystemVersion", "MinorSubsystemVersion"):
        m = re.search(rf"^{key}\s+(\S+)(.*)$", text, re.M)
        fields[key] = (m.group(1), m.group(2).strip()) if m else (None, "")
    imports = []  # (dll, name or None for an import by ordinal, hint or ordinal)
    dll = None
    for line in text.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).upper()
        elif not line.strip():
            dll = None  # a DLL's list ends with a blank line
        elif dll is not None:
            m = re.match(r"\s+[0-9a-fA-F]+\s+(\d+)\s+(\S+)", line)
            if m:
                name = None if m.group(2) == "<none>" else m.group(2)
                imports.append((dll, name, m.group(1)))
    return fields, imports


def check_headers(fields, reasons, console=False):
    if fields["format"] != "pei-i386" or fields["Magic"][0] != "010b":
        reasons.append(f"not a 32-bit PE32 program (format {fields['format']}, "
                       f"magic {fields['Magic'][0]})")
    subsystem, kind = ("00000003", "console") if console else ("00000002", "GUI")
    if fields["Subsystem"][0] != subsystem:
        reasons.append(f"not a {kind} program (subsystem {fields['Subsystem'][0]} "
                       f"{fields['Subsystem'][1]})")
    sub = (fields["MajorSubsystemVersion"][0], fields["MinorSubsystemVersion"][0])
    if sub != ("4", "0"):
        reasons.append(f"subsystem version {sub[0]}.{sub[1]}, Windows 95 needs 4.0")
    osv = (fields["MajorOSystemVersion"][0], fields["MinorOSystemVersion"][0])
    if osv != ("4", "0"):
        reasons.append(f"OS version {osv[0]}.{osv[1]}, Windows 95 needs 4.0")


def check_imports(imports, lists_dir, reasons):
    exports = {dll: read_names(os.path.join(lists_dir, f)) for dll, f in EXPORT_LISTS.items()}
    allowed = read_allow_list(os.path.join(lists_dir, "allowed-imports.txt"))
    if not imports:
        reasons.append("no imports found (objdump output not understood?)")
    for dll in sorted({d for d, _, _ in imports}):
        if dll not in ALLOWED_DLLS:
            names = ", ".join(sorted(n or "#" + o for d, n, o in imports if d == dll))
            reasons.append(f"imports {dll}, which is not a Windows 95 system DLL of the "
                           f"allowed set ({names})")
    for dll, name, ordinal in imports:
        if dll not in ALLOWED_DLLS:
            continue
        if name is None:
            reasons.append(f"imports {dll} ordinal {ordinal} by number")
        elif dll in exports:
            if name not in exports[dll]:
                reasons.append(f"imports {dll} {name}, which Windows 95 does not export")
            elif name.endswith("W") and name[:-1] + "A" in exports[dll]:
                reasons.append(f"imports {dll} {name}, a failing stub on Windows 9x "
                               f"(use {name[:-1]}A)")
        elif name not in allowed.get(dll, set()):
            reasons.append(f"imports {dll} {name}, which is not in allowed-imports.txt "
                           f"(review that Windows 95 has it, then add it)")


def check_code(text, reasons, limit=20):
    found = 0
    function = "?"
    for line in text.splitlines():
        m = re.match(r"^[0-9a-fA-F]+ <(.*)>:$", line)
        if m:
            function = m.group(1)
            continue
        parts = line.split("\t")
        # "  401000:\t<bytes>\t<mnemonic operands>" (raw bytes shown) or without bytes.
        if len(parts) < 2 or not re.match(r"^\s*[0-9a-fA-F]+:$", parts[0]):
            continue
        insn = parts[-1].strip()
        if not insn or insn.startswith("(bad)"):
            continue
        words = insn.split()
        # Prefixes (lock, rep, data16, ...) come before the mnemonic.
        while len(words) > 1 and words[0] in ("lock", "rep", "repz", "repnz", "repe", "repne",
                                               "data16", "addr16", "notrack", "bnd", "ds", "cs",
                                               "ss", "es", "fs", "gs"):
            words = words[1:]
        mnemonic = words[0]
        if NEWER_MNEMONICS.match(mnemonic) or NEWER_REGISTERS.search(insn):
            found += 1
            if found <= limit:
                reasons.append(f"instruction a 486 lacks at {parts[0].strip()} "
                               f"in {function}: {insn}")
    if found > limit:
        reasons.append(f"... {found - limit} more instructions a 486 lacks")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--lists", default=HERE,
                        help="directory of the export lists and allowed-imports.txt")
    parser.add_argument("--console", action="store_true",
                        help="the program is a console program, not a GUI one")
    parser.add_argument("exe")
    args = parser.parse_args()
    if not os.path.isfile(args.exe):
        print(f"check_win9x: {args.exe}: no such file", file=sys.stderr)
        return 2

    reasons = []
    fields, imports = parse_headers(run(args.objdump, ["-p"], args.exe))
    check_headers(fields, reasons, args.console)
    check_imports(imports, args.lists, reasons)
    check_code(run(args.objdump, ["-d", "--no-show-raw-insn"], args.exe), reasons)

    name = os.path.basename(args.exe)
    if reasons:
        print(f"check_win9x: {name} would not run on Windows 95/98 on a 486:", file=sys.stderr)
        for reason in reasons:
            print(f"  - {reason}", file=sys.stderr)
        return 1
    dlls = len({d for d, _, _ in imports})
    print(f"check_win9x: {name} ok for Windows 95/98 on a 486 "
          f"({len(imports)} imports from {dlls} DLLs)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
