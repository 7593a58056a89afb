#!/usr/bin/env python3
"""The texts of SETUP.EXE and UNINSTAL.EXE in one language: check a language file of
resources/lang/ and write the resource files a build includes.

  langtexts.py write LANGUAGE OUTDIR   check, then write OUTDIR/lang.rc, OUTDIR/setuptexts.rc
                                       and OUTDIR/uninstalltexts.rc (each only when its text
                                       changes)
  langtexts.py check [--dir DIR] [LANGUAGE...]
                                       check (every language when none is named), the files
                                       of DIR instead of resources/lang when given

A language file (resources/lang/<language>.txt, UTF-8) holds the keys of english.txt, no
more and no fewer. Each text must be written in the language's ANSI code page, keep the
English text's %s placeholders in their order, and fit its buffer: 127 bytes of that code
page (a slot of the text ring, a page's text buffer), the lists of switches 1023 (they go
straight into a message box's text). The generated files hold only ASCII: every byte of a
character outside it is an octal escape, so no trail byte of a double-byte code page (0x5C
is a backslash) reaches the resource compiler as itself; `#pragma code_page` tells it how
to read the bytes.

A fault is reported as "FILE:LINE: what is wrong" and the exit code is 1.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LANG_DIR = os.path.join(ROOT, "resources", "lang")
RESOURCE_H = os.path.join(ROOT, "resources", "resource.h")

# name -> (file, resource LANGUAGE or None for the compiler's default, ANSI code page, the
# dialog font: point size, face, weight, italic, character set). The English kit's resources
# are those of a build without a language: no LANGUAGE statement, no code page.
LANGUAGES = {
    "English": ("english.txt", None, 1252, '8, "Arial", 0, 0, 1'),
    "German": ("german.txt", "LANG_GERMAN, SUBLANG_GERMAN", 1252, '8, "Arial", 0, 0, 1'),
    "French": ("french.txt", "LANG_FRENCH, SUBLANG_FRENCH", 1252, '8, "Arial", 0, 0, 1'),
    # The face of Japanese Windows 98's own dialogs; character set 128 is Shift-JIS.
    "Japanese": ("japanese.txt", "LANG_JAPANESE, SUBLANG_DEFAULT", 932,
                 '9, "\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af", 0, 0, 128'),
}
SECTIONS = ("Strings", "Uninstall", "Dialogs")
SLOT_BYTES = 127
LONG_TEXTS = {"IDS_SETUP_SWITCHES": 1023, "IDS_UNINSTALL_SWITCHES": 1023}
LINE = re.compile(r'^(\w+)\s*=\s*"((?:[^"\\]|\\.)*)"\s*$')


class LangError(Exception):
    pass


def unescape(text, where):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            nxt = text[i + 1:i + 2]
            if nxt not in ("n", "\\", '"'):
                raise LangError("%s: unknown escape \\%s (\\n, \\\\ and \\\" are known)" % (where, nxt))
            out.append({"n": "\n", "\\": "\\", '"': '"'}[nxt])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_file(path):
    """{section: [(key, text, line)]} of a language file; raises LangError."""
    try:
        with open(path, "rb") as f:
            raw = f.read().decode("utf-8")
    except OSError as e:
        raise LangError("%s:0: cannot be read (%s)" % (path, e.strerror))
    except UnicodeDecodeError:
        raise LangError("%s:0: is not UTF-8" % path)
    sections, section, seen = {}, None, set()
    for number, line in enumerate(raw.splitlines(), 1):
        where = "%s:%d" % (path, number)
        stripped = line.strip()
        if stripped == "" or stripped.startswith(";"):
            continue
        if stripped.startswith("["):
            section = stripped.strip("[]")
            if section not in SECTIONS:
                raise LangError("%s: unknown section [%s]" % (where, section))
            sections.setdefault(section, [])
            continue
        m = LINE.match(stripped)
        if not m or section is None:
            raise LangError('%s: not KEY = "text" within a section' % where)
        key = m.group(1)
        if key in seen:
            raise LangError("%s: %s is given twice" % (where, key))
        seen.add(key)
        sections[section].append((key, unescape(m.group(2), where), number))
    return sections


def placeholders(text):
    return re.findall(r"%.", text)


def read_language(name, lang_dir=LANG_DIR):
    """The checked texts of a language: {section: [(key, text)]}; raises LangError."""
    if name not in LANGUAGES:
        raise LangError("no language %s; the languages are %s" % (name, ", ".join(LANGUAGES)))
    file_name, _, codepage, _ = LANGUAGES[name]
    path = os.path.join(lang_dir, file_name)
    texts = read_file(path)
    english = read_file(os.path.join(lang_dir, LANGUAGES["English"][0]))
    ids = set(re.findall(r"#define\s+(IDS_\w+)", open(RESOURCE_H).read()))
    for section in SECTIONS:
        mine = {k: (t, n) for k, t, n in texts.get(section, [])}
        theirs = {k: t for k, t, _ in english.get(section, [])}
        for key, (text, number) in mine.items():
            if key not in theirs:
                raise LangError("%s:%d: %s is not a key of [%s]" % (path, number, key, section))
        for key in theirs:
            if key not in mine:
                raise LangError("%s:0: [%s] %s is missing" % (path, section, key))
        for key, (text, number) in mine.items():
            where = "%s:%d" % (path, number)
            if section != "Dialogs" and key not in ids:
                raise LangError("%s: %s is no string id of resource.h" % (where, key))
            try:
                encoded = text.encode("cp%d" % codepage)
            except UnicodeEncodeError as e:
                raise LangError("%s: %s holds %r, which code page %d lacks"
                                % (where, key, e.object[e.start:e.end], codepage))
            if placeholders(text) != placeholders(theirs[key]):
                raise LangError("%s: %s has the placeholders %s; the English text has %s"
                                % (where, key, placeholders(text), placeholders(theirs[key])))
            width = LONG_TEXTS.get(key, SLOT_BYTES)
            if len(encoded) > width:
                raise LangError("%s: %s is %d bytes in code page %d, more than %d"
                                % (where, key, len(encoded), codepage, width))
    return {s: [(k, t) for k, t, _ in texts.get(s, [])] for s in SECTIONS}


def rc_string(text, codepage):
    out = []
    for c in text:
        if c == "\n":
            out.append("\\n")
        elif c == "\\":
            out.append("\\\\")
        elif c == '"':
            out.append('\\"')
        elif 32 <= ord(c) < 127:
            out.append(c)
        else:
            out.append("".join("\\%03o" % b for b in c.encode("cp%d" % codepage)))
    return '"' + "".join(out) + '"'


def outputs(name, texts):
    _, language, codepage, font = LANGUAGES[name]
    head = "// Made by tools/kit/langtexts.py from resources/lang/%s: do not edit.\n" % LANGUAGES[name][0]
    lang = [head.rstrip("\n"),
            "// The language of the build's resources; included by every resource file first.",
            "#pragma once"]
    if language is not None:
        lang += ["#pragma code_page(%d)" % codepage, "LANGUAGE %s" % language]
    lang.append("#define DLG_FONT %s" % rc_string(font, codepage)[1:-1].replace('\\"', '"'))
    lang += ["#define %s %s" % (k, rc_string(t, codepage)) for k, t in texts["Dialogs"]]

    def table(section):
        return (head + "STRINGTABLE\nBEGIN\n" +
                "".join("    %s, %s\n" % (k, rc_string(t, codepage)) for k, t in texts[section]) +
                "END\n")

    return {"lang.rc": "\n".join(lang) + "\n", "setuptexts.rc": table("Strings"),
            "uninstalltexts.rc": table("Uninstall")}


def write_if_changed(path, text):
    old = None
    if os.path.exists(path):
        with open(path) as f:
            old = f.read()
    if old != text:
        with open(path, "w") as f:
            f.write(text)


def main(argv):
    if len(argv) < 2 or argv[1] not in ("write", "check"):
        sys.stderr.write(__doc__)
        return 2
    try:
        if argv[1] == "write" and len(argv) == 4:
            texts = read_language(argv[2])
            os.makedirs(argv[3], exist_ok=True)
            for file_name, text in outputs(argv[2], texts).items():
                write_if_changed(os.path.join(argv[3], file_name), text)
        elif argv[1] == "check":
            names, lang_dir = argv[2:], LANG_DIR
            if names[:1] == ["--dir"] and len(names) >= 2:
                names, lang_dir = names[2:], names[1]
            for name in names or LANGUAGES:
                read_language(name, lang_dir)
        else:
            sys.stderr.write(__doc__)
            return 2
    except LangError as e:
        sys.stderr.write("langtexts: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
