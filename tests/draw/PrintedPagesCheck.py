#!/usr/bin/env python3
"""Measures printed pages on paper: the batch tool prints a known survey
(print_check_document: a 100 m leg east from station 0, then 150 m south,
bare legs at 1:500, 20 mm margins, not centred) to PDF, poppler's pdftoppm
rasterises it at 254 dpi (10 pixels per millimetre), and the dark pixels are
measured:

* landscape, overview: one page of 285 x 197 mm; the east leg is 200 mm
  long within 0.2 mm and starts at the left and top margins;
* portrait, sub-sheets: on a 197 x 285 mm page a sheet holds 78.5 x 122.5 m,
  snapped to the 10 m grid: 70 x 120 m, i.e. 140 x 240 mm; the survey needs
  2 x 2 sheets. Nothing is printed in the margins, every dark pixel put back
  into survey metres lies on a leg, and every point of the legs is printed
  on some page: the sheets tile the plan without gaps or overlaps;
* portrait, overview: the 100 m leg (200 mm) is wider than the page, so
  the plan is cut at the right margin instead of running over it.

Run as: PrintedPagesCheck.py CLI DOCUMENT-WRITER WORKFOLDER
"""
import math
import os
import shutil
import subprocess
import sys

DPMM = 10  # pixels per millimetre at 254 dpi
TOLERANCE_MM = 0.2


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while data[pos:pos + 1] != b"\n":
                pos += 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P5":
        fail(path + " is not a binary grey map")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    dark = [(i % width, i // width) for i, v in enumerate(pixels) if v < 128]
    return width, height, dark


def print_pages(cli, writer, work, name, landscape, subsheets):
    document = os.path.join(work, name + ".hpn")
    pdf = os.path.join(work, name + ".pdf")
    subprocess.run([writer, document, landscape, subsheets], check=True)
    run = subprocess.run([cli, "render", document, pdf, "--print"], capture_output=True, text=True)
    if run.returncode != 0:
        fail("render --print failed: " + run.stderr)
    subprocess.run(["pdftoppm", "-r", "254", "-gray", "-aa", "no", "-aaVector", "no", pdf,
                    os.path.join(work, name)], check=True)
    pages = sorted(f for f in os.listdir(work) if f.startswith(name + "-") and f.endswith(".pgm"))
    return [read_pgm(os.path.join(work, f)) for f in pages]


def near(a, b):
    return abs(a - b) <= TOLERANCE_MM


def mm(pixel):
    return (pixel + 0.5) / DPMM


def check_landscape(pages):
    if len(pages) != 1:
        fail("landscape overview: %d pages, expected 1" % len(pages))
    width, height, dark = pages[0]
    if not (near(width / DPMM, 285) and near(height / DPMM, 197)):
        fail("landscape page is %.1f x %.1f mm, expected 285 x 197" % (width / DPMM, height / DPMM))
    if not dark:
        fail("landscape page is blank")
    top = min(y for _, y in dark)
    row = [x for x, y in dark if y - top <= 2]
    length = (max(row) - min(row)) / DPMM
    if not near(length, 200):
        fail("the 100 m leg is %.2f mm on paper, expected 200 within 0.2" % length)
    if not near(mm(min(row)), 20) or not near(mm(top), 20):
        fail("the plan starts at %.2f / %.2f mm, expected the 20 mm margins" % (mm(min(row)), mm(top)))
    print("landscape: page 285 x 197 mm, 100 m leg %.2f mm, margins %.2f / %.2f mm" % (length, mm(min(row)), mm(top)))


def distance_to_legs(x, y):
    # Legs (0,0)-(100,0) and (100,0)-(100,-150), metres.
    d1 = math.hypot(x - min(max(x, 0), 100), y)
    d2 = math.hypot(x - 100, y - min(max(y, -150), 0))
    return min(d1, d2)


def check_subsheets(pages):
    if len(pages) != 4:
        fail("sub-sheets: %d pages, expected 4" % len(pages))
    sheet_w, sheet_h = 70.0, 120.0  # metres
    scale = 0.5  # metres per millimetre at 1:500
    world = []
    for n, (width, height, dark) in enumerate(pages):
        if not (near(width / DPMM, 197) and near(height / DPMM, 285)):
            fail("sheet %d is %.1f x %.1f mm, expected 197 x 285" % (n + 1, width / DPMM, height / DPMM))
        column, row = n % 2, n // 2
        for px, py in dark:
            x, y = mm(px), mm(py)
            if x < 20 - TOLERANCE_MM or x > 20 + 140 + TOLERANCE_MM or y < 20 - TOLERANCE_MM or \
                    y > 20 + 240 + TOLERANCE_MM:
                fail("sheet %d prints at %.2f / %.2f mm, in the margins" % (n + 1, x, y))
            wx = column * sheet_w + (x - 20) * scale
            wy = -row * sheet_h - (y - 20) * scale
            if distance_to_legs(wx, wy) > TOLERANCE_MM * scale:
                fail("sheet %d prints at %.2f / %.2f m, off the legs" % (n + 1, wx, wy))
            world.append((wx, wy, n))
    # Every point of the legs is printed, and where two sheets meet they
    # print the same line up to their shared edge only.
    cell = {}
    for wx, wy, n in world:
        cell.setdefault((round(wx * 4), round(wy * 4)), set()).add(n)
    samples = [(i * 0.25, 0.0) for i in range(401)] + [(100.0, -i * 0.25) for i in range(601)]
    for sx, sy in samples:
        found = any((round(sx * 4) + dx, round(sy * 4) + dy) in cell for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        if not found:
            fail("the leg point %.2f / %.2f m is printed on no sheet" % (sx, sy))
    for seam_x, left, right in [(70.0, 0, 1)]:
        left_end = max(wx for wx, wy, n in world if n == left and abs(wy) < 0.2)
        right_start = min(wx for wx, wy, n in world if n == right and abs(wy) < 0.2)
        if abs(left_end - seam_x) > 0.1 or abs(right_start - seam_x) > 0.1:
            fail("the sheets meet at %.2f and %.2f m, expected both at %.1f" % (left_end, right_start, seam_x))
    upper_end = min(wy for wx, wy, n in world if n == 1 and abs(wx - 100) < 0.2)
    lower_start = max(wy for wx, wy, n in world if n == 3 and abs(wx - 100) < 0.2)
    if abs(upper_end + 120) > 0.1 or abs(lower_start + 120) > 0.1:
        fail("the sheets meet at %.2f and %.2f m, expected both at -120" % (upper_end, lower_start))
    if any(n == 2 for _, _, n in world):
        fail("sheet 3 holds no leg but prints something")
    print("sub-sheets: 4 pages of 197 x 285 mm, margins clean, %d dark pixels on the legs, seams at 70 m and -120 m"
          % len(world))


def check_overflowing_overview(pages):
    if len(pages) != 1:
        fail("portrait overview: %d pages, expected 1" % len(pages))
    width, height, dark = pages[0]
    if not dark:
        fail("portrait overview page is blank")
    lowest = max(mm(y) for _, y in dark)
    rightmost = max(mm(x) for x, _ in dark)
    if lowest > height / DPMM - 20 + TOLERANCE_MM or rightmost > width / DPMM - 20 + TOLERANCE_MM:
        fail("the overview prints to %.2f / %.2f mm, into the margins" % (rightmost, lowest))
    if not near(rightmost, width / DPMM - 20):
        fail("the overview stops at %.2f mm, expected at the right margin" % rightmost)
    print("portrait overview: cut at the right margin (%.2f mm)" % rightmost)


def main():
    if shutil.which("pdftoppm") is None:
        print("pdftoppm absent: check skipped")
        return
    cli, writer, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    check_landscape(print_pages(cli, writer, work, "landscape", "1", "0"))
    check_subsheets(print_pages(cli, writer, work, "sheets", "0", "1"))
    check_overflowing_overview(print_pages(cli, writer, work, "portrait", "0", "0"))


main()
