#!/usr/bin/env python3
"""The product's identity file: read it, check it, and turn it into the C header that
SETUP.EXE, UNINSTAL.EXE and SETUPCHK.EXE are compiled with.

  identity.py header IDENTITY OUT.h   check, then write OUT.h (only when its text changes)
  identity.py check IDENTITY          check only
  identity.py value IDENTITY SECTION KEY   print one value ("none" included)

A fault is reported as "IDENTITY:LINE: what is wrong" (line 0: the file as a whole) and the
exit code is 1, so a build with a bad identity stops there.
"""
import os
import re
import sys

NONE = "none"

# section -> key -> (kind, width): the keys an identity holds, every one required, in the
# order of the default file. Kinds: path, text, title, file (8.3, or none), clsid, key (a
# registry key or value name: no backslash), art (a text the artwork draws).
SCHEMA = {
    "Product": {"DefaultPath": ("path", 79), "ProductName": ("text", 71),
                "Language": ("language", 16)},
    "Companion": {"WindowTitle": ("title", 79), "File": ("file", 64)},
    "PropertyPage": {"Server": ("file", 64), "ClassId": ("clsid", 64),
                     "ClassName": ("text", 79), "HandlerName": ("key", 79)},
    "Registry": {"UninstallKey": ("key", 60), "RunValue": ("key", 79),
                 "SerialDeviceKey": ("key", 60)},
    "Artwork": {"Wordmark": ("art", 10), "BannerWords": ("art", 16), "BannerLine": ("art", 52)},
}
# Keys that may be left out, and their value then.
OPTIONAL = {("Product", "Language"): "English"}
# The languages of the texts that SETUP.EXE and UNINSTAL.EXE show (tools/kit/langtexts.py).
LANGUAGES = ("English", "German", "French", "Japanese")
# Keys that "none" in another key leaves unused: they may then be "none" or absent.
UNUSED_WHEN_NONE = {
    ("PropertyPage", "Server"): ["ClassId", "ClassName", "HandlerName"],
    ("Companion", "File"): ["RunValue"],
}

CLSID = re.compile(r"^\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\}$")
DOS_CHARS = r"A-Za-z0-9!#$%&'()@^_`{}~-"
NAME83 = re.compile(r"^[%s]{1,8}(\.[%s]{1,3})?$" % (DOS_CHARS, DOS_CHARS))


class IdentityError(Exception):
    pass


def fail(path, line, what):
    raise IdentityError("%s:%d: %s" % (path, line, what))


def printable(value):
    return all(32 <= ord(c) < 127 for c in value)


def check_value(path, line, section, key, value):
    kind, width = SCHEMA[section][key]
    if not printable(value):
        fail(path, line, "%s holds a character outside printable ASCII" % key)
    if len(value) > width:
        fail(path, line, "%s is %d characters, more than %d" % (key, len(value), width))
    if value == "":
        fail(path, line, "%s is empty" % key)
    if kind == "file":
        if value != NONE and not NAME83.match(value):
            fail(path, line, "%s \"%s\" is not an 8.3 file name" % (key, value))
    elif kind == "clsid":
        if not CLSID.match(value):
            fail(path, line, "%s \"%s\" is not a class identifier of the form "
                 "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" % (key, value))
    elif kind == "key":
        if "\\" in value:
            fail(path, line, "%s \"%s\" holds a backslash: it names one key, not a path" % (key, value))
    elif kind == "language":
        if value not in LANGUAGES:
            fail(path, line, "%s \"%s\" is not one of %s" % (key, value, ", ".join(LANGUAGES)))
    elif kind == "path":
        if value.endswith("\\"):
            fail(path, line, "%s \"%s\" ends in a backslash" % (key, value))


def read(path):
    """The identity as {section: {key: value}}, checked; raises IdentityError."""
    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as e:
        raise IdentityError("%s:0: cannot be read (%s)" % (path, e.strerror))
    try:
        text = raw.decode("ascii")
    except UnicodeDecodeError:
        raise IdentityError("%s:0: holds a character outside ASCII" % path)
    values, lines = {}, {}
    section = None
    for number, line in enumerate(text.splitlines(), 1):
        line = line.strip()
        if line == "" or line.startswith(";"):
            continue
        if line.startswith("["):
            if not line.endswith("]"):
                fail(path, number, "\"%s\" is not a [Section] line" % line)
            section = line[1:-1].strip()
            if section not in SCHEMA:
                fail(path, number, "unknown section [%s]; the sections are %s" %
                     (section, ", ".join("[%s]" % s for s in SCHEMA)))
            if section in values:
                fail(path, number, "[%s] is given twice" % section)
            values[section] = {}
            continue
        if "=" not in line:
            fail(path, number, "\"%s\" is neither a comment, a [Section] nor Key=Value" % line)
        if section is None:
            fail(path, number, "a value before the first [Section]")
        key, value = (part.strip() for part in line.split("=", 1))
        if key not in SCHEMA[section]:
            fail(path, number, "unknown key %s in [%s]; its keys are %s" %
                 (key, section, ", ".join(SCHEMA[section])))
        if key in values[section]:
            fail(path, number, "%s is given twice in [%s]" % (key, section))
        if "; " in value or "\t;" in value:
            fail(path, number, "%s holds \"; \": a comment stands on a line of its own" % key)
        values[section][key] = value
        lines[(section, key)] = number
    unused = set()
    for (section, key), others in UNUSED_WHEN_NONE.items():
        if values.get(section, {}).get(key) == NONE:
            unused.update((section, other) for other in others)
    for section, keys in SCHEMA.items():
        for key in keys:
            value = values.get(section, {}).get(key)
            if (section, key) in unused:
                if value is None or value == NONE:
                    values.setdefault(section, {})[key] = NONE
                    continue
            if value is None and (section, key) in OPTIONAL:
                values.setdefault(section, {})[key] = OPTIONAL[(section, key)]
                continue
            if value is None:
                fail(path, 0, "[%s] %s is missing" % (section, key))
            if value == NONE and SCHEMA[section][key][0] not in ("file", "title"):
                fail(path, lines[(section, key)], "%s cannot be none" % key)
            check_value(path, lines[(section, key)], section, key, value)
    return values


def c_string(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def header_text(path, v):
    def text(section, key):
        value = v[section][key]
        return c_string("" if value == NONE else value)

    def present(section, key):
        return 0 if v[section][key] == NONE else 1

    rows = [
        ("DEFAULT_INSTALL_PATH", text("Product", "DefaultPath")),
        ("DEFAULT_PRODUCT_NAME", text("Product", "ProductName")),
        ("HAS_COMPANION_WINDOW", present("Companion", "WindowTitle")),
        ("COMPANION_WINDOW_TITLE", text("Companion", "WindowTitle")),
        ("HAS_COMPANION_FILE", present("Companion", "File")),
        ("COMPANION_FILE", text("Companion", "File")),
        ("HAS_PAGE_SERVER", present("PropertyPage", "Server")),
        ("PAGE_SERVER_FILE", text("PropertyPage", "Server")),
        ("PAGE_CLSID", text("PropertyPage", "ClassId")),
        ("PAGE_CLASS_NAME", text("PropertyPage", "ClassName")),
        ("PAGE_HANDLER_NAME", text("PropertyPage", "HandlerName")),
        ("UNINSTALL_KEY_NAME", text("Registry", "UninstallKey")),
        ("RUN_VALUE_NAME", text("Registry", "RunValue")),
        ("OWN_SERIAL_DEVICE_NAME", text("Registry", "SerialDeviceKey")),
    ]
    out = ["// Made by tools/kit/identity.py from %s: do not edit." % os.path.basename(path),
           "// The product's identity; script/identity.h says what each value is for.",
           "#pragma once"]
    rows.append(("IDENTITY_FILE_NAME", c_string(os.path.basename(path))))
    out += ["#define %s %s" % (name, value) for name, value in rows]
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) < 3 or argv[1] not in ("header", "check", "value"):
        sys.stderr.write(__doc__)
        return 2
    try:
        values = read(argv[2])
    except IdentityError as e:
        sys.stderr.write("identity: %s\n" % e)
        return 1
    if argv[1] == "header":
        text = header_text(argv[2], values)
        old = None
        if os.path.exists(argv[3]):
            with open(argv[3]) as f:
                old = f.read()
        if old != text:
            os.makedirs(os.path.dirname(os.path.abspath(argv[3])), exist_ok=True)
            with open(argv[3], "w") as f:
                f.write(text)
    elif argv[1] == "value":
        print(values[argv[3]][argv[4]])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
