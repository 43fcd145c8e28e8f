#!/usr/bin/env python3
"""Fails when files of src/ depend on each other in a circle.

A header and its source file (X.h and X.cpp) are one unit; a unit depends
on every unit whose header it includes. Units in a circle can only be
understood, tested and changed together, so none may be. Prints each circle
found and exits 1; exits 0 when there is none.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCES = os.path.join(ROOT, "src")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)


def units():
    """Every unit (path below src/ without its suffix) and the units it includes."""
    files = []
    for folder, _, names in os.walk(SOURCES):
        files += [os.path.join(folder, n) for n in names if n.endswith((".h", ".cpp"))]
    unit_of = lambda path: os.path.splitext(os.path.relpath(path, SOURCES))[0]
    known = {unit_of(f) for f in files}
    depends = {}
    for path in files:
        unit = unit_of(path)
        with open(path, encoding="utf-8", errors="replace") as f:
            written = INCLUDE.findall(f.read())
        for name in written:
            beside = os.path.normpath(os.path.join(os.path.dirname(os.path.relpath(path, SOURCES)), name))
            for used in (os.path.splitext(os.path.normpath(name))[0], os.path.splitext(beside)[0]):
                if used in known and used != unit:
                    depends.setdefault(unit, set()).add(used)
                    break
    return depends


def circles(depends):
    """The strongly connected groups of more than one unit (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(unit):
        index[unit] = low[unit] = len(index)
        stack.append(unit)
        on_stack.add(unit)
        for used in sorted(depends.get(unit, ())):
            if used not in index:
                visit(used)
                low[unit] = min(low[unit], low[used])
            elif used in on_stack:
                low[unit] = min(low[unit], index[used])
        if low[unit] == index[unit]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == unit:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    sys.setrecursionlimit(10000)
    for unit in sorted(depends):
        if unit not in index:
            visit(unit)
    return found


def main():
    found = circles(units())
    for group in found:
        print("Im Kreis voneinander abhängig: " + ", ".join(group))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
