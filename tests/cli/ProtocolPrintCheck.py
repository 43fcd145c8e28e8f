#!/usr/bin/env python3
"""The sample cave's survey protocol printed to PDF by the batch tool
(`render --print --display-type 6`) and read back with poppler's pdfinfo and
pdftotext:

* the pages are the printable page of 197 x 285 mm, and as many as the
  protocol's 338 leg rows need in the row font at 20 mm margins;
* page 1 carries the document's title;
* every row of the leg list, as the protocol's clipboard text holds it, is
  printed exactly once and in order: no row is lost or repeated where the
  list runs over a page end.

Run as: ProtocolPrintCheck.py CLI DOCUMENT WORKFOLDER
"""
import os
import shutil
import subprocess
import sys

EXPECTED_PAGES = 10
TITLE = "Beispielhöhle bei Steinbach: Windloch und Fuchsloch"


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def run(command):
    done = subprocess.run(command, capture_output=True)
    if done.returncode != 0:
        fail(" ".join(command) + " gave " + str(done.returncode) + ": " + done.stderr.decode("utf-8", "replace"))
    return done.stdout.decode("utf-8")


def leg_rows(clipboard):
    lines = clipboard.split("\n")
    start = lines.index("Messlinien-Liste") + 2  # the title and the header
    rows = []
    for line in lines[start:]:
        if not line:
            break
        rows.append(line.split())
    return rows


def main():
    cli, document, work = sys.argv[1:4]
    for tool in ("pdfinfo", "pdftotext"):
        if shutil.which(tool) is None:
            print(tool + " absent")
            return
    os.makedirs(work, exist_ok=True)
    pdf = os.path.join(work, "protokoll.pdf")
    if os.path.exists(pdf):
        os.remove(pdf)
    run([cli, "render", document, pdf, "--print", "--display-type", "6", "--date", "07.12.2026"])

    info = dict(line.split(":", 1) for line in run(["pdfinfo", pdf]).splitlines() if ":" in line)
    pages = int(info["Pages"])
    if pages != EXPECTED_PAGES:
        fail("%d pages instead of %d" % (pages, EXPECTED_PAGES))
    if info["Page size"].split()[:3] != ["558", "x", "808"]:
        fail("page size " + info["Page size"].strip())

    texts = run(["pdftotext", "-layout", pdf, "-"]).split("\f")
    if TITLE not in texts[0]:
        fail("page 1 lacks the title:\n" + texts[0])

    printed = [line.split() for page in texts for line in page.splitlines()]
    rows = leg_rows(run([cli, "protocol", document, "--display-type", "6"]))
    if len(rows) < 300:
        fail("the leg list holds only %d rows" % len(rows))
    at = 0
    for row in rows:
        if printed.count(row) != 1:
            fail("row %s printed %d times" % (" ".join(row), printed.count(row)))
        found = printed.index(row)
        if found < at:
            fail("row %s printed out of order" % " ".join(row))
        at = found
    print("%d pages, %d leg rows each printed once" % (pages, len(rows)))


main()
