#!/usr/bin/env python3
"""Spelling check of the program's German texts.

Pulls the string literals out of the C++ sources, keeps those a user reads
(texts with a space or a German letter; identifiers, file names, format
strings and English programming-error texts are left out), adds the German
user guide, the German entries of the desktop files and the manual pages,
and runs their words through hunspell with the German dictionary and the
project's word list. Prints every unknown word with the places it occurs and fails when
there is one; prints "SKIPPED" when hunspell or the dictionary is missing.
"""
import html
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WORDS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "words.txt")

LITERAL = re.compile(r'(?<![A-Za-z0-9_])(?:u8|L|u|U)?"((?:[^"\\\n]|\\.)*)"')
GERMAN = re.compile(r"[äöüÄÖÜß]")
# A German word: letters, with inner hyphens kept apart by the split below.
WORD = re.compile(r"[A-Za-zäöüÄÖÜß]+")
FORMAT = re.compile(r"%[-+ #0]*[0-9]*(?:\.[0-9]+)?(?:hh|h|ll|l|L|z)?[diouxXeEfgGcsp%]")
OPTION = re.compile(r"--[a-z-]+")
ESCAPE = re.compile(r"\\(?:u([0-9A-Fa-f]{4})|x([0-9A-Fa-f]{2})|[ntr\\\"']|[0-7]{1,3})")
# Lines whose texts are not shown to the user: includes, exceptions for
# programming errors, asserts, log output for developers and the names of
# settings sections.
SKIP_LINE = re.compile(r"^\s*#\s*include|\bthrow\b|\bassert\b|static_assert|qDebug|qWarning|std::logic_error"
                       r"|std::invalid_argument|std::out_of_range|std::runtime_error|Section\s*=")


def decode(body):
    """The literal's text: escaped letters (\\u00e4, \\xC3\\xA4, \\xDF) stay
    part of their word, control escapes become spaces."""
    data = bytearray()
    pos = 0
    for match in ESCAPE.finditer(body):
        data += body[pos:match.start()].encode("utf-8")
        if match.group(1):
            data += chr(int(match.group(1), 16)).encode("utf-8")
        elif match.group(2):
            data.append(int(match.group(2), 16))
        else:
            data += b" "
        pos = match.end()
    data += body[pos:].encode("utf-8")
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace")


def literals(line):
    """The string literals of one line, adjacent ones joined, up to a comment."""
    joined = []
    end = 0
    for match in LITERAL.finditer(line):
        gap = line[end:match.start()]
        if "//" in gap:
            break
        if joined and not gap.strip():
            joined[-1] += match.group(1)
        else:
            joined.append(match.group(1))
        end = match.end()
    return joined


def machine_format(path):
    """The batch tool's commands and options and the writers of file formats
    hold keywords of their own; only their texts with German letters are
    checked there."""
    name = os.path.basename(path)
    return f"{os.sep}cli{os.sep}" in path or (name.endswith("Writer.cpp") and name != "TableWriter.cpp")


def user_texts(path, keywords=None):
    """Yields (line number, text) for each literal a user may read; the
    words of the other literals go into keywords."""
    german_only = machine_format(path)
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if SKIP_LINE.search(line) or line.lstrip().startswith("//"):
                continue
            for body in literals(line):
                # Lists of accepted column names (";Gerät;Geraet;") are input
                # keywords with their spellings without umlauts.
                if body.startswith(";"):
                    continue
                text = decode(body)
                text = OPTION.sub(" ", FORMAT.sub(" ", text)).replace("&", "")
                if not GERMAN.search(text) and (german_only or not re.search(r"[A-Za-z]{2,} [A-Za-z]{2,}", text)):
                    if keywords is not None:
                        keywords.update(WORD.findall(text))
                    continue
                yield number, text


def words_of(text):
    for word in WORD.findall(text):
        # Abbreviations, unit symbols and single capitals (X, UTM, dx) are
        # not words a dictionary knows.
        # Identifiers written together (coordIndex, RefX) are no words either.
        if len(word) < 3 or word.isupper() or not re.search(r"[aeiouäöüy]", word.lower()) or \
                re.search(r"[a-zäöüß][A-ZÄÖÜ]", word):
            continue
        yield word


def files(folder, suffixes):
    for path, _, names in os.walk(os.path.join(ROOT, folder)):
        for name in sorted(names):
            if name.endswith(suffixes):
                yield os.path.join(path, name)


def guide_texts():
    """(place, text) of every line of the user guide's pages as the build
    writes them, without their markup."""
    sys.dont_write_bytecode = True  # nothing written into the sources
    sys.path.insert(0, os.path.join(ROOT, "help"))
    import make_pages
    for name, data in sorted(make_pages.pages().items()):
        if name.endswith(".htm"):
            for number, line in enumerate(data.decode("utf-8").splitlines(), 1):
                yield f"help/make_pages.py ({name}:{number})", html.unescape(re.sub(r"<[^>]*>", " ", line))


def desktop_texts(path):
    """The German entries of a desktop entry or an XML file."""
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if re.match(r"\w+\[de\]=", line):
                yield number, line.split("=", 1)[1]
            elif 'xml:lang="de"' in line:
                yield number, html.unescape(re.sub(r"<[^>]*>", " ", line))


def manual_texts(path):
    """The running text of a manual page: no requests, no font escapes, no
    examples."""
    example = False
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if line.startswith((".nf", ".EX")):
                example = True
            elif line.startswith((".fi", ".EE")):
                example = False
            if example or line.startswith((".", "'")):
                continue
            yield number, re.sub(r"\\f[BIRP]|\\-|\\\(\w\w|@\w+@", " ", line)


def texts():
    """Yields (place, text, keywords) for every text the user reads; the
    keywords are words the text may use that are no German words."""
    # The manual pages name the batch tool's commands, options, output keys
    # and settings, which the sources hold as keywords.
    keywords = set()
    for path in files("src", (".cpp", ".h")):
        for number, text in user_texts(path, keywords):
            yield f"{os.path.relpath(path, ROOT)}:{number}", text, ()
    for place, text in guide_texts():
        yield place, re.sub(r"(^|\s)-\w+", " ", text), ()
    readers = [(files("dist", (".desktop", ".xml")), desktop_texts, ()),
               (files("dist/man", (".1.in",)), manual_texts, keywords)]
    for paths, reader, known in readers:
        for path in paths:
            for number, text in reader(path):
                # A part joined to an earlier word ("Bezeichnung und -nummer").
                yield f"{os.path.relpath(path, ROOT)}:{number}", re.sub(r"(^|\s)-\w+", " ", text), known


def main():
    hunspell = shutil.which("hunspell")
    if not hunspell:
        print("SKIPPED: hunspell is not installed")
        return 0
    probe = subprocess.run([hunspell, "-D"], input="", capture_output=True, text=True)
    if "de_DE" not in probe.stdout + probe.stderr:
        print("SKIPPED: the hunspell dictionary de_DE is not installed")
        return 0
    places = {}
    for place, text, known in texts():
        for word in words_of(text):
            if word not in known:
                places.setdefault(word, []).append(place)
    with open(WORDS, encoding="utf-8") as f:
        known = {line.strip() for line in f if line.strip() and not line.startswith("#")}
    candidates = sorted(w for w in places if w not in known)
    result = subprocess.run([hunspell, "-d", "de_DE", "-i", "UTF-8", "-l"], input="\n".join(candidates) + "\n",
                            capture_output=True, text=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
    unknown = sorted(set(result.stdout.split()))
    for word in unknown:
        print(f"{word}: {', '.join(places[word][:3])}")
    print(f"{len(places)} words checked, {len(unknown)} unknown")
    return 1 if unknown else 0


if __name__ == "__main__":
    sys.exit(main())
