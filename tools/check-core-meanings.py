#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Check the learner's core-meaning lists against the German-English word list.

Every meaning in content/dict/kernbedeutungen-en.tsv and -de.tsv must occur as a
translation of its headword in the word list, otherwise the dictionary converter
cannot match it. Terms are compared bare: without "to ", placeholders such as
"sth." or "jdn.", and without {...}, [...], (...) and <...> remarks. The "|" parts
of a source line are paired by position when both sides have the same number of
parts; otherwise the whole line counts.

The converter also splits what the word list writes with commas and folds objects and
abbreviations into the bare headword, so a meaning the converted dictionary shows for
the headword (--dict DIR with e_d.zek and d_e.zek, by default build/dist/ZEK_E when it
exists) counts as a translation too, unless it is marked offensive there.

usage: check-core-meanings.py [--source FILE] [--dict DIR] [--verbose] [TSV ...]
Exit code 1 when a line fails (format, kind, unknown headword or meaning).
Self-test of the term parsing: python3 -m doctest tools/check-core-meanings.py
"""
import argparse
import os
import re
import sys
import zlib
from collections import defaultdict

KINDS = {"noun", "verb", "adj", "adv", "other"}
PLACEHOLDERS = re.compile(
    r"\b(?:sth|sb|jdn|jdm|jds|etw)\.(?:['’]s\b)?(?=[\s/,'’]|$)|\b(?:sb|sth|one)['’]s\b", re.I)
REMARKS = re.compile(r"\{[^}]*\}|\[[^\]]*\]|\([^)]*\)|<[^>]*>|(?:^|\s)/[^/\s][^/]*/(?=\s|$)")
OFFENSIVE_LABELS = ("vulg.", "pej.", "slang", "übtr.,pej", "obszön", "derb")


def bare(term):
    """The form a headword is looked up by.

    >>> [bare(t) for t in ["to get sth. {got; got / gotten [Am.]}", "Wohnung {f} /Whg./",
    ...                    "an jdn./etw. {+Akk.} glauben {vi}", "sb.’s age", "to believe sb./sth.", "and/or"]]
    ['get', 'wohnung', 'an glauben', 'age', 'believe', 'and/or']
    """
    t = REMARKS.sub(" ", term)
    t = PLACEHOLDERS.sub(" ", t)
    t = re.sub(r"(?<![^\s/])/+(?![^\s/])", " ", t)  # what "jdn./etw." leaves behind
    t = re.sub(r"\s+", " ", t).strip(" ,.;:/")
    if t.lower().startswith("to "):
        t = t[3:]
    return t.strip().lower()


def split_terms(side):
    """Splits at "; " outside brackets.

    >>> split_terms("to get sth. {got; got}; to receive (a; b)")
    ['to get sth. {got; got}', 'to receive (a; b)']
    """
    terms, depth, start = [], 0, 0
    for i, c in enumerate(side):
        if c in "{[(<":
            depth += 1
        elif c in "}])>" and depth:
            depth -= 1
        elif c == ";" and depth == 0 and side.startswith("; ", i):
            terms.append(side[start:i])
            start = i + 2
    terms.append(side[start:])
    return [t for t in (x.strip() for x in terms) if t]


ABBREVIATIONS = re.compile(r" /[^/\s][^/]*?/(?=[\s;]|$)")


def split_parts(side):
    """
    >>> split_parts("government /Gov.; Govt./; administration [Am.] | governments")
    ['government; administration [Am.]', 'governments']
    """
    # Abbreviation tails (" /Gov.; Govt./") may hold "; " themselves: drop them first.
    return ABBREVIATIONS.sub("", side).split(" | ")


def load_source(path):
    """Returns maps de->en and en->de (bare, lower case) and the labels seen per pair."""
    de_en = defaultdict(set)
    en_de = defaultdict(set)
    offensive = set()  # (de, en) pairs that the source gives only with a vulgar/pejorative/slang label
    neutral = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or " :: " not in line:
                continue
            de_side, en_side = line.rstrip("\n").split(" :: ", 1)
            de_parts = split_parts(de_side)
            en_parts = split_parts(en_side)
            if len(de_parts) == len(en_parts):
                pairs = list(zip(de_parts, en_parts))
            else:
                pairs = [(de_side.replace(" | ", "; "), en_side.replace(" | ", "; "))]
            for d, e in pairs:
                dts = split_terms(d)
                ets = split_terms(e)
                dbare = [(bare(t), t) for t in dts]
                ebare = [(bare(t), t) for t in ets]
                for db, draw in dbare:
                    if not db:
                        continue
                    for eb, eraw in ebare:
                        if not eb:
                            continue
                        de_en[db].add(eb)
                        en_de[eb].add(db)
                        if any(l in draw or l in eraw for l in OFFENSIVE_LABELS):
                            offensive.add((db, eb))
                        else:
                            neutral.add((db, eb))
    return de_en, en_de, offensive - neutral


def load_dictionary(path):
    """Bare meanings per bare headword of a converted dictionary half; None without the file."""
    try:
        with open(path, "rb") as f:
            fields = zlib.decompress(f.read()).decode("cp1252").split("\0")
    except OSError:
        return None
    index = defaultdict(set)
    for i in range(0, len(fields) - 2, 3):
        head = bare(re.sub(r" \([^)]*\)$", "", fields[i]))
        for part in split_terms(fields[i + 2]):
            if not re.match(r"\[[^\]]*(abwertend|vulg\.|derb)", part):
                index[head].add(bare(part))
    return index


def check_file(path, direction, de_en, en_de, offensive, verbose, converted=None):
    index = en_de if direction == "en" else de_en
    converted = converted or {}
    failures = 0
    lines = 0
    seen = set()
    with open(path, encoding="utf-8") as f:
        for no, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            lines += 1
            problems = []
            cols = line.split("\t")
            if len(cols) != 3:
                print(f"{path}:{no}: expected three tab-separated columns: {line}")
                failures += 1
                continue
            head, kind, meanings = cols
            if kind not in KINDS:
                problems.append(f"unknown kind '{kind}'")
            if (head, kind) in seen:
                problems.append("repeated headword and kind")
            seen.add((head, kind))
            parts = meanings.split("; ")
            if not 1 <= len(parts) <= 4:
                problems.append(f"{len(parts)} meanings (1 to 4 allowed)")
            if len(set(parts)) != len(parts):
                problems.append("a meaning is repeated")
            hb = bare(head)
            known = index.get(hb, set()) | converted.get(hb, set())
            if not known:
                problems.append("headword not in the word list")
            else:
                for m in parts:
                    if m != m.strip() or not m:
                        problems.append(f"blank around meaning '{m}'")
                        continue
                    mb = bare(m)
                    if mb not in known:
                        problems.append(f"'{m}' is not a translation of '{head}'")
                    pair = (mb, hb) if direction == "en" else (hb, mb)
                    if pair in offensive:
                        problems.append(f"'{m}' carries an offensive label in the word list")
            if problems:
                failures += 1
                print(f"{path}:{no}: {head} ({kind}): " + "; ".join(problems))
            elif verbose:
                print(f"{path}:{no}: ok")
    return lines, failures


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", default="/usr/share/trans/de-en")
    ap.add_argument("--dict", default=os.path.join(root, "build/dist/ZEK_E"))
    ap.add_argument("--verbose", action="store_true")
    ap.add_argument("files", nargs="*")
    a = ap.parse_args()
    files = a.files or [os.path.join(root, "content/dict/kernbedeutungen-en.tsv"),
                        os.path.join(root, "content/dict/kernbedeutungen-de.tsv")]
    de_en, en_de, offensive = load_source(a.source)
    total_fail = 0
    for path in files:
        direction = "de" if path.endswith("-de.tsv") else "en"
        converted = load_dictionary(os.path.join(a.dict, "d_e.zek" if direction == "de" else "e_d.zek"))
        n, bad = check_file(path, direction, de_en, en_de, offensive, a.verbose, converted)
        print(f"{os.path.basename(path)}: {n} lines, {bad} failing")
        total_fail += bad
    return 1 if total_fail else 0


if __name__ == "__main__":
    sys.exit(main())
