#!/usr/bin/env python3
"""compare.py CASEDIR: compares the checker's plan of one package with what SETUP.EXE /S did.

CASEDIR holds plan.txt (SETUPCHK.EXE --plan), rc (SETUP.EXE's exit code), setup.log,
files.before/.after (drive C: as "path<TAB>size"), reg.before/.after (vmhelper dumps) and
ini.before/.after (system.ini). Prints one line per mismatch, "KIND: detail"; a run that
aborted and kept what it had copied is of the kind "abort-leaves" (an aborted run is to
leave nothing). Exit code 0 when nothing differs, 1 otherwise.
"""
import os
import re
import sys

# Files that the run writes besides the package's: its log, the install log and work
# directory of the copy, system.ini's own copies and the start-up's rename list.
IGNORED = re.compile(r"(^|/)(install\.log|~suwork(/.*)?|setup\.log|system\.(ini|bak|new)|"
                     r"wininit\.ini|vmm32/vmouse\.(bak|vxd))$")


def norm(path):
    """A Windows path as the prefix's path below drive_c, resolved, in lower case."""
    path = path.replace("/", "\\")
    drive, rest = (path[:2], path[2:]) if path[1:2] == ":" else ("", path)
    parts = []
    for part in rest.split("\\"):
        if part in ("", "."):
            continue
        if part == "..":
            parts = parts[:-1]
        else:
            parts.append(part)
    base = "drive_c" if drive.upper() == "C:" else "drive_" + drive[:1].lower()
    return "/".join([base] + parts).lower()


def read(case, name):
    try:
        with open(os.path.join(case, name), encoding="latin-1") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def parse_plan(text):
    plan = {"entries": [], "registry": [], "exit": None, "start": None, "mouse": None,
            "systemini": None, "installdir": ""}
    for line in text.splitlines():
        f = line.split("\t")
        if f[0] == "entry":
            plan["entries"].append({"disk": f[1], "line": f[2], "action": f[3], "bytes": f[4],
                                    "source": f[5], "dest": f[6], "reason": f[7]})
        elif f[0] == "registry":
            plan["registry"].append((f[1], f[2], "\t".join(f[3:])))
        elif f[0] in ("exit", "systemini", "installdir"):
            plan[f[0]] = f[1]
        elif f[0] in ("start", "mouse"):
            plan[f[0]] = f[1:]
    return plan


def parse_files(text):
    files = {}
    for line in text.splitlines():
        path, _, size = line.rpartition("\t")
        files[path.lower()] = int(size)
    return files


def parse_reg(text):
    """vmhelper dump output: {key lower: {name lower: text}}."""
    keys, key = {}, None
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1].lower()
            keys.setdefault(key, {})
        elif key is not None and "=" in line:
            m = re.match(r'^("((?:[^"\\]|\\.)*)"|@)=(.*)$', line)
            if not m:
                continue
            name = (m.group(2) or "").replace('\\"', '"').replace("\\\\", "\\")
            value = m.group(3)
            if value.startswith('"'):
                value = value[1:-1].replace('\\"', '"').replace("\\\\", "\\")
            keys[key][name.lower()] = value
    return keys


def mouse_line(ini):
    section = None
    for line in ini.splitlines():
        s = line.strip()
        if s.startswith("["):
            section = s.lower()
        elif section == "[386enh]" and s.lower().startswith("mouse="):
            return s
    return None


def arrived(before, after):
    """Files new or changed by the run, without the ones it writes for itself."""
    return {p: s for p, s in after.items()
            if not IGNORED.search(p) and (p not in before or before[p] != s)}


def expected_files(entries, upto=None):
    """The files the entries write (the later entry wins), up to entry index upto."""
    files = {}
    for i, e in enumerate(entries):
        if upto is not None and i >= upto:
            break
        if e["action"] in ("copy", "expand"):
            files[norm(e["dest"])] = int(e["bytes"])
    return files


def same_files(expected, actual, script):
    """1 when the names match and every size does, the installation's SETUP.INF aside (it
    holds the journal and the install record after the run)."""
    if set(expected) != set(actual):
        return False
    return all(actual[p] == s or p == script for p, s in expected.items())


def describe(files):
    return ", ".join("%s %d" % (p, s) for p, s in sorted(files.items())) or "none"


def compare(case):
    plan = parse_plan(read(case, "plan.txt"))
    out = []
    if plan["exit"] is None:
        return ["plan: no plan (the checker printed no exit line)"]
    rc = read(case, "rc").strip()
    code = int(plan["exit"])
    # The plan shows a control character of a path as "?".
    log = re.sub(r"[\x00-\x09\x0b-\x1f]", "?", read(case, "setup.log"))
    entries = plan["entries"]
    if rc != plan["exit"]:
        out.append("exit: plan %s, setup %s" % (plan["exit"], rc))

    script = norm(plan["installdir"] + "\\SETUP.INF")
    actual = arrived(parse_files(read(case, "files.before")), parse_files(read(case, "files.after")))
    first_fail = next((i for i, e in enumerate(entries) if e["action"] == "fail"), None)
    reg_before, reg_after = parse_reg(read(case, "reg.before")), parse_reg(read(case, "reg.after"))
    ini_before, ini_after = mouse_line(read(case, "ini.before")), mouse_line(read(case, "ini.after"))

    if code == 0:
        expected = expected_files(entries)
        if not same_files(expected, actual, script):
            out.append("files: plan %s; arrived %s" % (describe(expected), describe(actual)))
    elif actual:
        kept = expected_files(entries, first_fail)
        if code == 1 and rc == "1" and same_files(kept, actual, script):
            out.append("abort-leaves: the aborted run kept %s" % describe(actual))
        else:
            out.append("files: plan none (exit %d); arrived %s" % (code, describe(actual)))

    # The log: a line per file written, the failure of the first failing entry, the refusal.
    for i, e in enumerate(entries):
        if first_fail is not None and i > first_fail:
            break
        where = "[%s] %s" % (e["disk"], e["line"])
        if e["action"] in ("copy", "expand"):
            want = "file %s -> %s, %s bytes" % (e["source"], e["dest"], e["bytes"])
            if want not in log and code in (0, 1):
                out.append("log: %s no line '%s'" % (where, want))
        elif e["action"] == "fail":
            want = "error: %s: %s -> %s" % (e["reason"], e["source"], e["dest"])
            if e["reason"].startswith("a file name is longer"):
                want = "error: %s: " % e["reason"]  # the entry is named by its description
            if want not in log:
                out.append("log: %s no line '%s'" % (where, want))
    if plan["start"] and plan["start"][0] == "refuse" and plan["start"][2] not in log:
        out.append("log: no line '%s'" % plan["start"][2])

    # The registry and system.ini: written after a whole copy, untouched otherwise.
    if code == 0:
        device = plan["mouse"][1].lower() if plan["mouse"] and plan["mouse"][1] != "-" else None
        device_values = reg_after.get(device.replace("hklm\\", "hklm\\"), {}) if device else {}
        driver = device_values.get("driver", "")
        klass = ("hklm\\system\\currentcontrolset\\services\\class\\" + driver).lower()
        for key, name, data in plan["registry"]:
            where = {"device": device, "class": klass}.get(key, key.lower())
            got = reg_after.get(where, {}).get(name.lower())
            if got != data:
                out.append("registry: %s %s plan '%s', set %s" %
                           (key, name, data, "'%s'" % got if got is not None else "nothing"))
        if ini_after != "mouse=*vmouse":
            out.append("system.ini: plan mouse=*vmouse, has %s" % ini_after)
    else:
        if reg_after != reg_before:
            changed = sorted(k for k in set(reg_before) | set(reg_after)
                             if reg_before.get(k) != reg_after.get(k))
            kind = "abort-leaves" if code == 1 and rc == "1" else "registry"
            out.append("%s: plan unchanged (exit %d), changed %s" % (kind, code, ", ".join(changed)))
        if ini_after != ini_before:
            out.append("system.ini: plan unchanged (exit %d), %s became %s" %
                       (code, ini_before, ini_after))
    return out


def main():
    lines = compare(sys.argv[1])
    for line in lines:
        print(line)
    return 1 if lines else 0


if __name__ == "__main__":
    sys.exit(main())
