#!/usr/bin/env python3
"""Keeps the translations in data/lang/ as gettext PO files.

    tools/lang_txt_to_po.py [LANG_DIR]
    tools/lang_txt_to_po.py --check [LANG_DIR]

LANG_DIR defaults to data/lang beside this script. Each language is one PO
file, <code>.po, whose entries have the text number as msgctxt, the English
text as msgid and the language's text as msgstr; en.po is the English one
(msgstr = msgid). The build turns them into the UTF-16 files the program
reads (tools/make_language_file.cpp --po).

What the script does, in order:
  1. en.txt and zh.txt, the older "N=text" sources, if present: their texts
     are taken into en.po and zh.po (adding new numbers, replacing changed
     texts; the '#' comments above a text become its comment for
     translators), and the .txt file is removed.
  2. Every other PO file is brought in line with en.po: a number English
     has and the file lacks is added untranslated (msgstr ""), a changed
     English text replaces the msgid and marks the entry fuzzy, and numbers
     English no longer has are dropped.
Untranslated and fuzzy entries are what the completeness test reports.
Running it twice changes nothing.

With --check it changes nothing and lists what a translator still has to do
(the test suite runs it): texts missing or out of date in a language, a %1
placeholder lost, a file msgfmt --check rejects.
"""
import os
import re
import shutil
import subprocess
import sys

HEADER_FIELDS = [
    ("Project-Id-Version", "tevlan"),
    ("PO-Revision-Date", "2026-12-09 00:00+0000"),
    ("Last-Translator", "Tevlan developers <maintainers@tevlan.example>"),
    ("Language-Team", "Tevlan developers <maintainers@tevlan.example>"),
    ("MIME-Version", "1.0"),
    ("Content-Type", "text/plain; charset=UTF-8"),
    ("Content-Transfer-Encoding", "8bit"),
]
LANGUAGE_NAMES = {"en": "en", "zh": "zh_CN", "de": "de", "fr": "fr", "es": "es", "pt_BR": "pt_BR",
                  "ru": "ru", "ja": "ja", "ko": "ko"}


class Entry:
    def __init__(self, number, msgid, msgstr="", comments=None, fuzzy=False):
        self.number = number
        self.msgid = msgid
        self.msgstr = msgstr
        self.comments = comments or []
        self.fuzzy = fuzzy


def read_txt(path):
    """The "N=text" source: {number: (text, [comment lines])}."""
    texts = {}
    pending = []
    with open(path, encoding="utf-8-sig") as f:
        for raw in f:
            line = raw.rstrip("\r\n").rstrip(" \t")
            if line.startswith("#"):
                pending.append(line[1:].strip())
                continue
            if not line.strip():
                pending = []
                continue
            if line == "[Setting]":
                pending = []
                continue
            m = re.match(r"^(\d+)=(.*)$", line)
            if not m:
                raise SystemExit("%s: cannot read line: %s" % (path, line))
            text = m.group(2)
            if len(text) >= 2 and text[0] == '"' and text[-1] == '"':
                text = text[1:-1]
            texts[int(m.group(1))] = (text, pending)
            pending = []
    return texts


def unquote(s):
    s = s.strip()
    assert s[0] == '"' and s[-1] == '"', s
    body = s[1:-1]
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == "\\" and i + 1 < len(body):
            n = body[i + 1]
            out.append({"n": "\n", "t": "\t", '"': '"', "\\": "\\"}.get(n, n))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n").replace("\t", "\\t") + '"'


def read_po(path):
    """{number: Entry} and the header's Language."""
    entries = {}
    if not os.path.exists(path):
        return entries
    with open(path, encoding="utf-8") as f:
        blocks = f.read().split("\n\n")
    for block in blocks:
        comments, fuzzy, fields, current = [], False, {}, None
        for line in block.splitlines():
            if line.startswith("#."):
                comments.append(line[2:].strip())
            elif line.startswith("#,"):
                fuzzy = fuzzy or "fuzzy" in line
            elif line.startswith("#"):
                continue
            elif line.startswith('"') and current:
                fields[current] += unquote(line)
            else:
                m = re.match(r"^(msgctxt|msgid|msgstr) (.*)$", line)
                if m:
                    current = m.group(1)
                    fields[current] = unquote(m.group(2))
        if "msgctxt" not in fields:
            continue  # the header
        number = int(fields["msgctxt"])
        entries[number] = Entry(number, fields.get("msgid", ""), fields.get("msgstr", ""), comments, fuzzy)
    return entries


def write_po(path, code, entries):
    lines = ["# Tevlan's user interface texts: %s." % code,
             "# msgctxt is the text's number in the program's language files.",
             'msgid ""', 'msgstr ""']
    fields = HEADER_FIELDS + [("Language", LANGUAGE_NAMES.get(code, code))]
    for key, value in fields:
        lines.append(quote("%s: %s\n" % (key, value)))
    lines.append("")
    for number in sorted(entries):
        e = entries[number]
        for c in e.comments:
            lines.append("#. " + c if c else "#.")
        if e.fuzzy:
            lines.append("#, fuzzy")
        lines.append("msgctxt " + quote(str(number)))
        lines.append("msgid " + quote(e.msgid))
        lines.append("msgstr " + quote(e.msgstr))
        lines.append("")
    text = "\n".join(lines)
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(tmp, path)


def check(lang_dir):
    """Every language has every English text, translated and not fuzzy, with
    the same %1 placeholders; msgfmt --check accepts every file (where
    msgfmt is installed). Returns the problems found."""
    english = read_po(os.path.join(lang_dir, "en.po"))
    problems = []
    if not english:
        problems.append("en.po: no texts")
    for name in sorted(os.listdir(lang_dir)):
        if name.endswith(".txt") and name[:-4] in ("en", "zh"):
            problems.append("%s: run tools/lang_txt_to_po.py to take it into the PO files" % name)
        if not name.endswith(".po") or name == "en.po":
            continue
        entries = read_po(os.path.join(lang_dir, name))
        for number, e in sorted(english.items()):
            t = entries.get(number)
            if t is None or not t.msgstr:
                problems.append("%s: text %d is missing (%s)" % (name, number, e.msgid))
            elif t.fuzzy or t.msgid != e.msgid:
                problems.append("%s: text %d is out of date (English: %s)" % (name, number, e.msgid))
            elif t.msgstr.count("%1") != e.msgid.count("%1"):
                problems.append("%s: text %d does not keep %%1" % (name, number))
    msgfmt = shutil.which("msgfmt")
    for name in sorted(os.listdir(lang_dir)):
        if msgfmt and name.endswith(".po"):
            r = subprocess.run([msgfmt, "--check", "-o", os.devnull, os.path.join(lang_dir, name)],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            if r.returncode != 0:
                problems.append("%s: msgfmt --check: %s" % (name, r.stdout.strip()))
    return problems


def main():
    args = sys.argv[1:]
    checking = bool(args) and args[0] == "--check"
    if checking:
        args = args[1:]
    lang_dir = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "lang")
    if checking:
        problems = check(lang_dir)
        for p in problems:
            print(p)
        sys.exit(1 if problems else 0)
    en_po = os.path.join(lang_dir, "en.po")
    english = read_po(en_po)
    en_txt = os.path.join(lang_dir, "en.txt")
    if os.path.exists(en_txt):
        for number, (text, comments) in read_txt(en_txt).items():
            old = english.get(number)
            english[number] = Entry(number, text, text, comments or (old.comments if old else []))
    if not english:
        raise SystemExit("no English texts in " + lang_dir)
    for e in english.values():
        e.msgstr, e.fuzzy = e.msgid, False
    write_po(en_po, "en", english)

    zh_txt = os.path.join(lang_dir, "zh.txt")
    if os.path.exists(zh_txt):
        zh = read_po(os.path.join(lang_dir, "zh.po"))
        for number, (text, _) in read_txt(zh_txt).items():
            zh[number] = Entry(number, english[number].msgid if number in english else "", text)
        write_po(os.path.join(lang_dir, "zh.po"), "zh", zh)

    for name in sorted(os.listdir(lang_dir)):
        if not name.endswith(".po") or name == "en.po":
            continue
        code = name[:-3]
        path = os.path.join(lang_dir, name)
        old = read_po(path)
        merged = {}
        for number, e in english.items():
            have = old.get(number)
            if have is None:
                merged[number] = Entry(number, e.msgid, "", e.comments)
            else:
                changed = have.msgid != e.msgid and have.msgstr != ""
                merged[number] = Entry(number, e.msgid, have.msgstr, e.comments, have.fuzzy or changed)
        write_po(path, code, merged)

    for txt in (en_txt, zh_txt):
        if os.path.exists(txt):
            os.remove(txt)


if __name__ == "__main__":
    main()
