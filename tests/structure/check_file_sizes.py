#!/usr/bin/env python3
"""Fails when a source file of src/, tests/, bench/ or examples/ has 600 lines or more.

A file that long holds more than one purpose; it is split along them before
it grows further. Prints each such file with its length and exits 1; exits 0
when there is none.
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FOLDERS = [os.path.join(ROOT, name) for name in ("src", "tests", "bench", "examples")]
LIMIT = 600


def main():
    found = []
    for folder, _, names in (entry for top in FOLDERS for entry in os.walk(top)):
        for name in sorted(n for n in names if n.endswith((".h", ".cpp"))):
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8", errors="replace") as f:
                lines = sum(1 for _ in f)
            if lines >= LIMIT:
                found.append((os.path.relpath(path, ROOT), lines))
    for path, lines in sorted(found):
        print(f"{path}: {lines} Zeilen (höchstens {LIMIT - 1})")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
