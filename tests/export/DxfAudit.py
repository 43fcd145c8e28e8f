#!/usr/bin/env python3
"""Exports the sample cave as both kinds of DXF through hollowplan-cli and
loads them with ezdxf (strict reading, then its audit).

The standard file must load with no audit complaint and hold every entity
written. The cave cadastre file refers to the blocks VM, HR and BH and the
text styles BM, BP and BH that the receiving drawing defines, so the audit
complains about exactly those and nothing else.

Usage: DxfAudit.py CLI DOCUMENT WORKFOLDER"""
import os
import subprocess
import sys

try:
    import ezdxf
except ImportError:
    print("ezdxf absent: DXF check skipped")
    sys.exit(0)

cli, document, work = sys.argv[1:4]
os.makedirs(work, exist_ok=True)
failures = []


def export(name, *options):
    path = os.path.join(work, name)
    subprocess.run([cli, "export", document, path, *options], check=True)
    return path


def written_entities(path):
    """Entities between the ENTITIES section head and its end, as written."""
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    pairs = list(zip(lines[0::2], lines[1::2]))
    names = [value for code, value in pairs if code == "  0"]
    return [n for n in names if n in ("LINE", "CIRCLE", "POINT", "TEXT", "INSERT")]


standard = export("standard.dxf", "--set", "DXFFormat=0")
doc = ezdxf.readfile(standard)
count = len(doc.modelspace())
auditor = doc.audit()
if auditor.errors or auditor.fixes:
    failures.append("standard DXF: audit complaints: %s" %
                    [m.message for m in list(auditor.errors) + list(auditor.fixes)][:5])
if count != len(written_entities(standard)):
    failures.append("standard DXF: %d entities read, %d written" % (count, len(written_entities(standard))))

cave = export("cave.dxf", "--set", "DXFFormat=1")
doc = ezdxf.readfile(cave)
count = len(doc.modelspace())
if count != len(written_entities(cave)):
    failures.append("cave DXF: %d entities read, %d written" % (count, len(written_entities(cave))))
auditor = doc.audit()
expected = ['BLOCK definition', 'text style "BM"', 'text style "BP"', 'text style "BH"']
for entry in list(auditor.errors) + list(auditor.fixes):
    if not any(piece in entry.message for piece in expected):
        failures.append("cave DXF: unexpected complaint: " + entry.message)
        break
if auditor.errors:
    failures.append("cave DXF: audit errors: %s" % [e.message for e in auditor.errors][:5])

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("both DXF files load; the cave file lacks only the blocks and styles of the receiving drawing")
