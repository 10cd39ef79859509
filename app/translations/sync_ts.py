#!/usr/bin/python3
"""Keep the Qt translation sources in line with the string table.

Reads app/strings/strtable.def and rewrites every <code>.ts in this folder so
that it lists each English text of the table once, in id order, under the
context "global". Existing translations are kept; a new text is added as
unfinished with an empty translation (Qt then shows the English text). A
translated text that left the table is kept as "vanished" so no work is lost.

    /usr/bin/python3 app/translations/sync_ts.py            rewrite all .ts files
    /usr/bin/python3 app/translations/sync_ts.py --check    exit 1 if any is stale
    /usr/bin/python3 app/translations/sync_ts.py --add xyz  also create xyz.ts
"""

import argparse
import os
import re
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
DEF_FILE = os.path.join(HERE, "..", "strings", "strtable.def")
CONTEXT = "global"

# Language code -> the locale Qt Linguist and lrelease should assume.
LOCALES = {
    "chs": "zh_CN", "cht": "zh_TW", "csy": "cs_CZ", "dan": "da_DK",
    "enu": "en_US", "fre": "fr_FR", "ger": "de_DE", "hun": "hu_HU",
    "ita": "it_IT", "jpn": "ja_JP", "krn": "ko_KR", "nld": "nl_NL",
    "nor": "nb_NO", "plk": "pl_PL", "ptb": "pt_BR", "ptg": "pt_PT",
    "rus": "ru_RU", "spn": "es_ES", "sve": "sv_SE", "tha": "th_TH",
    "trk": "tr_TR",
}

ROW = re.compile(r'^STR\(\s*(\d+)\s*,\s*([A-Za-z_][A-Za-z0-9_]*)\s*,\s*"((?:[^"\\]|\\.)*)"\s*\)\s*$')
ESCAPES = {"\\\\": "\\", '\\"': '"'}


def fail(msg):
    sys.exit("sync_ts: " + msg)


def read_table(path):
    """[(id, key, text)] from the .def file, checked for gaps and duplicates."""
    rows, seen = [], {}
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("//"):
                continue
            m = ROW.match(line)
            if not m:
                fail("%s:%d: not a STR(id, key, \"text\") row" % (path, lineno))
            rid, key, raw = int(m.group(1)), m.group(2), m.group(3)
            # Only \\ and \" are allowed, so the text here equals the C string.
            bad = re.search(r'\\[^\\"]', re.sub(r'\\\\', "", raw))
            if bad:
                fail("%s:%d: use \\\\n, not %s (the table keeps the backslash)"
                     % (path, lineno, bad.group(0)))
            text = re.sub(r'\\[\\"]', lambda e: ESCAPES[e.group(0)], raw)
            if rid != len(rows):
                fail("%s:%d: id %d where %d was expected" % (path, lineno, rid, len(rows)))
            if key.lower() in seen:
                fail("%s:%d: key %s repeats row %d" % (path, lineno, key, seen[key.lower()]))
            seen[key.lower()] = rid
            rows.append((rid, key, text))
    return rows


def read_ts(path):
    """{source: (translation, type)} of the context we own."""
    found = {}
    if not os.path.exists(path):
        return found
    root = ET.parse(path).getroot()
    for ctx in root.findall("context"):
        if ctx.findtext("name") != CONTEXT:
            continue
        for msg in ctx.findall("message"):
            tr = msg.find("translation")
            found[msg.findtext("source") or ""] = (
                (tr.text or "") if tr is not None else "",
                tr.get("type") if tr is not None else "unfinished")
    return found


def render_ts(code, rows, old):
    # One message per distinct English text: Qt looks texts up by source, so
    # rows that share a text share its translation.
    order, users = [], {}
    for rid, key, text in rows:
        if text not in users:
            order.append(text)
            users[text] = []
        users[text].append("%d %s" % (rid, key))

    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!DOCTYPE TS>",
           '<TS version="2.1" language="%s" sourcelanguage="en_US">' % LOCALES[code],
           "<context>",
           "    <name>%s</name>" % CONTEXT]

    def message(source, comment, translation, kind):
        out.append("    <message>")
        out.append("        <source>%s</source>" % escape(source))
        if comment:
            out.append("        <extracomment>%s</extracomment>" % escape(comment))
        attr = ' type="%s"' % kind if kind else ""
        out.append("        <translation%s>%s</translation>" % (attr, escape(translation)))
        out.append("    </message>")

    for text in order:
        translation, kind = old.get(text, ("", "unfinished"))
        if kind in ("vanished", "obsolete"):
            kind = "unfinished"
        if not translation:
            kind = "unfinished"
        message(text, "; ".join(users[text]), translation, kind)
    for text, (translation, _) in old.items():
        if text not in users and translation:
            message(text, "", translation, "vanished")
    out += ["</context>", "</TS>", ""]
    return "\n".join(out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true", help="report stale files, change nothing")
    ap.add_argument("--add", action="append", default=[], metavar="CODE",
                    help="create CODE.ts as well (CODE must be in LOCALES)")
    args = ap.parse_args()

    rows = read_table(DEF_FILE)
    codes = sorted({f[:-3] for f in os.listdir(HERE) if f.endswith(".ts")} | set(args.add))
    for code in codes:
        if code not in LOCALES:
            fail("%s.ts: unknown language code (add it to LOCALES)" % code)

    stale = []
    for code in codes:
        path = os.path.join(HERE, code + ".ts")
        wanted = render_ts(code, rows, read_ts(path))
        current = open(path, encoding="utf-8").read() if os.path.exists(path) else None
        if current == wanted:
            continue
        stale.append(code + ".ts")
        if not args.check:
            with open(path, "w", encoding="utf-8") as f:
                f.write(wanted)
    if args.check and stale:
        fail("out of date with strtable.def: %s; run %s" % (", ".join(stale), sys.argv[0]))
    if not args.check:
        print("%d rows, %d files, %d rewritten" % (len(rows), len(codes), len(stale)))


if __name__ == "__main__":
    main()
