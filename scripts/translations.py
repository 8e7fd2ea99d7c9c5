#!/usr/bin/env python3
"""The English catalogues of the window programs.

  translations.py update [--lupdate PATH]
      brings translations/*.ts up to date with the sources: new texts are
      added unfinished, texts no longer in the sources are dropped, the
      English already written is kept. Edit the new entries with Qt
      Linguist (or any editor), then build.
  translations.py check [--lupdate PATH]
      fails (exit 1), naming each case, when
        - a shown text has no finished English (run update, then translate),
        - an English text's placeholders differ from its Chinese text's,
        - a catalogue is out of date with the sources,
        - a Chinese literal in the windows' code or the core is unmarked:
          every one is tr()/translate() (windows), VT_TEXT (shown, core) or
          VT_DATA (stays as written in every language),
        - a class calls tr() without Q_OBJECT (its texts would be looked up
          under another name).

Catalogues: core_en (the core's VT_TEXT, keyed by the text itself), gui_en
(the shared window pieces), vantor_en, vantornet_en and vantorload_en.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUES = [
    # name, source folders, id-based
    ("core", ["core"], True),
    ("gui", ["gui"], False),
    ("vantor", ["apps/vantor"], False),
    ("vantornet", ["apps/vantornet"], False),
    ("vantorload", ["apps/vantorload"], False),
]
MARKS = {"VT_TEXT", "VT_DATA", "tr", "translate", "QT_TR_NOOP", "QT_TRANSLATE_NOOP", "QT_TRID_NOOP", "qtTrId"}
CJK = re.compile(r"[\u3000-\u303f\u3400-\u9fff\uff00-\uffef]")
PRINTF = re.compile(r"%[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|z|j|t)?[diouxXeEfgGcsp%]")
QTARG = re.compile(r"%(?:L?\d+|n)")


def lupdate_command(lupdate, name, folders, idbased, ts):
    cmd = [lupdate, "-silent", "-locations", "none", "-no-obsolete", "-target-language", "en",
           "-extensions", "cpp,h"]
    if idbased:
        cmd += ["-tr-function-alias", "QT_TRID_NOOP+=VT_TEXT"]
    return cmd + [os.path.join(ROOT, f) for f in folders] + ["-ts", ts]


def run_lupdate(lupdate, name, folders, idbased, ts):
    done = subprocess.run(lupdate_command(lupdate, name, folders, idbased, ts), capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"lupdate failed for {name}:\n{done.stdout}{done.stderr}")
    if idbased:
        escape_ids(ts)
    return [l for l in (done.stdout + done.stderr).splitlines() if "lacks Q_OBJECT" in l]


MESSAGE_ID = re.compile(r'<message id="(.*?)">(?=\n[ \t]*<)', re.S)
ATTRIBUTE_ESCAPES = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "\n": "&#10;", "\r": "&#13;", "\t": "&#9;"}


def escape_ids(ts):
    """lupdate writes a message's id (the core's text itself) unescaped: a
    straight quote or an ampersand in a text breaks the catalogue, and a line
    break becomes a blank when the catalogue is read back (by lrelease and by
    lupdate itself), so the text is never found and its English is dropped
    at the next update. Escapes every id as an XML attribute."""
    with open(ts, encoding="utf-8") as f:
        text = f.read()
    escaped = MESSAGE_ID.sub(
        lambda m: '<message id="' + "".join(ATTRIBUTE_ESCAPES.get(c, c) for c in m.group(1)) + '">', text)
    if escaped != text:
        with open(ts, "w", encoding="utf-8") as f:
            f.write(escaped)


def messages(ts):
    """(context, key, translation text, finished) of every message."""
    for context in ET.parse(ts).getroot().iter("context"):
        cname = context.findtext("name") or ""
        for m in context.iter("message"):
            key = m.get("id") or m.findtext("source") or ""
            t = m.find("translation")
            kind = t.get("type") if t is not None else "unfinished"
            yield cname, key, (t.text or "") if t is not None else "", kind


def strip_comments(text):
    """The source with comments blanked (strings kept, line numbers kept)."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(text[i:j])
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


TOKEN = re.compile(r'R"([^(\s]*)\((?:.|\n)*?\)\1"|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'|[A-Za-z_]\w*|\S')


def unmarked_literals(path):
    """(line, literal) of each Chinese literal outside every marking call."""
    text = strip_comments(open(path, encoding="utf-8").read())
    found, stack, previous = [], [], None
    for m in TOKEN.finditer(text):
        tok = m.group(0)
        if tok in "([{":
            stack.append(previous if tok == "(" else None)
        elif tok in ")]}":
            if stack:
                stack.pop()
        elif tok[0] in "\"R" and (tok[0] == '"' or tok.startswith('R"')) and CJK.search(tok):
            if not stack or stack[-1] not in MARKS:
                found.append((text.count("\n", 0, m.start()) + 1, tok))
        previous = tok
    return found


def placeholders(text, idbased):
    pattern = PRINTF if idbased else QTARG
    found = pattern.findall(text)
    return found if idbased else sorted(found)


def check(lupdate):
    problems = []
    for name, folders, idbased in CATALOGUES:
        ts = os.path.join(ROOT, "translations", f"{name}_en.ts")
        if not os.path.exists(ts):
            problems.append(f"{name}: translations/{name}_en.ts is missing (run scripts/translations.py update)")
            continue
        with tempfile.TemporaryDirectory() as tmp:
            copy = os.path.join(tmp, os.path.basename(ts))
            shutil.copy(ts, copy)
            for warning in run_lupdate(lupdate, name, folders, idbased, copy):
                problems.append(f"{name}: {warning.strip()}")
            with open(ts, encoding="utf-8") as a, open(copy, encoding="utf-8") as b:
                if a.read() != b.read():
                    problems.append(f"{name}: translations/{name}_en.ts is out of date (run scripts/translations.py update)")
            for context, key, english, kind in messages(copy):
                where = f"{name} [{context}]" if context else name
                if kind == "unfinished" or not english:
                    problems.append(f"{where}: no English for \"{key}\"")
                elif placeholders(key, idbased) != placeholders(english, idbased):
                    problems.append(f"{where}: \"{english}\" has other placeholders than \"{key}\"")
        for folder in folders:
            for base, _, files in os.walk(os.path.join(ROOT, folder)):
                for f in sorted(files):
                    if f.endswith((".cpp", ".h")):
                        path = os.path.join(base, f)
                        for line, literal in unmarked_literals(path):
                            problems.append(f"{os.path.relpath(path, ROOT)}:{line}: unmarked text {literal}")
    for p in problems:
        print(p)
    print(f"{len(problems)} problem(s) in the English catalogues")
    return 1 if problems else 0


def update(lupdate):
    os.makedirs(os.path.join(ROOT, "translations"), exist_ok=True)
    for name, folders, idbased in CATALOGUES:
        ts = os.path.join(ROOT, "translations", f"{name}_en.ts")
        for warning in run_lupdate(lupdate, name, folders, idbased, ts):
            print(warning)
        unfinished = sum(1 for *_, kind in messages(ts) if kind == "unfinished")
        print(f"translations/{name}_en.ts: {unfinished} text(s) without English")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("action", choices=["update", "check"])
    parser.add_argument("--lupdate", default=shutil.which("lupdate") or "/usr/lib/qt6/bin/lupdate")
    args = parser.parse_args()
    return check(args.lupdate) if args.action == "check" else update(args.lupdate)


if __name__ == "__main__":
    sys.exit(main())
