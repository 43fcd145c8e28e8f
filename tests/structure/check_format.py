#!/usr/bin/env python3
"""Fails when a source file is not laid out in the house style (.clang-format).

Usage: check_format.py CLANG_FORMAT
Checks every .h and .cpp of src/, tests/, bench/ and examples/ with
`clang-format --dry-run --Werror`, prints the files that differ and exits 1;
exits 0 when all are in the style. `clang-format -i FILE` lays a file out.
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FOLDERS = ("src", "tests", "bench", "examples")
BATCH = 100


def sources():
    for top in FOLDERS:
        for folder, _, names in os.walk(os.path.join(ROOT, top)):
            for name in sorted(n for n in names if n.endswith((".h", ".cpp"))):
                yield os.path.join(folder, name)


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    files = sorted(sources())
    differing = set()
    for start in range(0, len(files), BATCH):
        batch = files[start:start + BATCH]
        run = subprocess.run([sys.argv[1], "--dry-run", "--Werror", *batch], cwd=ROOT, capture_output=True,
                             text=True)
        for line in run.stderr.splitlines():
            path = line.split(":", 1)[0]
            if path in batch:
                differing.add(path)
        if run.returncode != 0 and not differing:
            print(run.stderr)
            return 1
    for path in sorted(differing):
        print(f"{os.path.relpath(path, ROOT)}: nicht im Hausstil (clang-format -i legt die Datei aus)")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
