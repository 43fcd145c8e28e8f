#!/usr/bin/env python3
"""Writes the sample survey of examples/: the two-cave table of the fictional
Hollerbuehl cave area, its side passage as a separate include table, and a
small PocketTopo trip. Deterministic; run it again after changing it:

    python3 examples/make_sample.py

The caves are invented: a true passage geometry is drawn at random, the
"measured" values are that geometry plus instrument noise, so the loops close
with a few centimetres to decimetres of misclosure, as real loops do.
"""
import math
import random
from pathlib import Path

HERE = Path(__file__).resolve().parent
DEG = math.pi / 180

MAIN_TABLE = "Beispielhoehle.txt"
PART_TABLE = "Beispielhoehle_Teil_Seitengang.txt"
PART_DOCUMENT = "Seitengang.hpn"
TRIP_FILE = "Beispieltour.txt"

HEADER = ["RHöhle", "RGang", "RPunkt", "Höhle", "Gang", "Punkt", "Länge", "Azimut", "Neigung",
          "Links", "Rechts", "Oben", "Unten", "Ring", "Datum", "Vermesser", "Bezeichnung",
          "Material", "Maßnahmen", "Bemerkung", "Include-Datei", "X", "Y", "Z", "_Skizzenblatt"]


def polar(length, azimuth, inclination):
    h = length * math.cos(inclination * DEG)
    return (h * math.sin(azimuth * DEG), h * math.cos(azimuth * DEG), length * math.sin(inclination * DEG))


def to_polar(v):
    length = math.sqrt(v[0] ** 2 + v[1] ** 2 + v[2] ** 2)
    azimuth = math.atan2(v[0], v[1]) / DEG % 360.0
    inclination = math.asin(max(-1.0, min(1.0, v[2] / length))) / DEG
    return length, azimuth, inclination


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def german(value, decimals):
    text = f"{value:.{decimals}f}"
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    if text == "-0":
        text = "0"
    return text.replace(".", ",")


class Table:
    """Rows of one table text, with the true and the computed station positions."""

    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.rows = []
        self.true = {}
        self.computed = {}
        self.misclosures = []
        self.date = ""
        self.surveyor = 0
        self.sheet = 1

    def trip(self, date, surveyor):
        self.date, self.surveyor = date, surveyor
        self.sheet = 1

    def reference(self, station, xyz, **texts):
        self.true[station] = xyz
        self.computed[station] = xyz
        self.rows.append(dict(ref=station, st=station, xyz=xyz, date=self.date,
                              surveyor=self.surveyor, **texts))

    def dims(self, kind):
        r = self.rng
        if kind == "halle":
            return (r.uniform(5, 11), r.uniform(5, 12), r.uniform(4, 9), r.uniform(0, 1.5))
        if kind == "schluf":
            return (r.uniform(0.2, 0.6), r.uniform(0.2, 0.6), r.uniform(0.2, 0.5), r.uniform(0, 0.2))
        if kind == "schacht":
            return (r.uniform(0.8, 2.0), r.uniform(0.8, 2.0), r.uniform(0, 1.0), r.uniform(0, 1.0))
        if kind == "gross":
            return (r.uniform(1.5, 4.0), r.uniform(1.5, 4.0), r.uniform(2.0, 6.0), r.uniform(0, 1.0))
        return (r.uniform(0.5, 2.2), r.uniform(0.5, 2.2), r.uniform(0.6, 2.5), r.uniform(0, 0.8))

    def leg(self, frm, to, vec, ring=0, kind="gang", vertical=False, **texts):
        """A leg whose true vector is vec; stores it with instrument noise."""
        r = self.rng
        length, azimuth, inclination = to_polar(vec)
        length = round(length + r.gauss(0, 0.01), 2)
        if vertical:
            azimuth, inclination = 0.0, -90.0 if vec[2] < 0 else 90.0
        else:
            azimuth = round((azimuth + r.gauss(0, 0.2)) % 360.0, 1)
            inclination = round(max(-90.0, min(90.0, inclination + r.gauss(0, 0.2))), 1)
        measured = add(self.computed[frm], polar(length, azimuth, inclination))
        if to in self.computed:
            self.misclosures.append((ring, frm, to, sub(self.computed[to], measured)))
        else:
            self.true[to] = add(self.true[frm], vec)
            self.computed[to] = measured
        if self.rng.random() < 0.12:
            self.sheet += 1
        self.rows.append(dict(ref=frm, st=to, length=length, azimuth=azimuth,
                              inclination=inclination, dims=self.dims(kind), ring=ring,
                              date=self.date, surveyor=self.surveyor, sheet=self.sheet, **texts))

    def walk(self, start, cave, passage, first, count, heading, slope=(-6, 4), lengths=(3, 12),
             turn=25, kind="gang", texts=None, ring=0):
        """An open traverse of count legs from start; returns the stations."""
        texts = texts or {}
        r = self.rng
        stations, frm = [], start
        for i in range(count):
            heading += r.uniform(-turn, turn)
            vec = polar(r.uniform(*lengths), heading % 360.0, r.uniform(*slope))
            to = (cave, passage, str(first + i))
            self.leg(frm, to, vec, ring=ring, kind=kind, **texts.get(first + i, {}))
            stations.append(to)
            frm = to
        return stations

    def loop(self, start, end, cave, passage, first, count, bulge, ring, kind="gang", texts=None):
        """A traverse from start to the known station end, every leg carrying the ring."""
        texts = texts or {}
        r = self.rng
        a, b = self.true[start], self.true[end]
        d = sub(b, a)
        side = (d[1], -d[0], 0.0)
        norm = math.hypot(side[0], side[1])
        side = (side[0] / norm, side[1] / norm, 0.0)
        frm = start
        for i in range(1, count + 1):
            if i == count:
                to, point = end, b
            else:
                s = i / count
                point = tuple(a[k] + d[k] * s + side[k] * bulge * math.sin(math.pi * s)
                              + r.uniform(-1.2, 1.2) * (k < 2) for k in range(3))
                to = (cave, passage, str(first + i - 1))
            self.leg(frm, to, sub(point, self.true[frm]), ring=ring, kind=kind,
                     **texts.get(first + i - 1, {}))
            frm = to


def cell_station(row, prev):
    if row["ref"] == prev:
        return ["", "", ""]
    return [str(row["ref"][0]), str(row["ref"][1]), row["ref"][2]]


def write_table(table, path):
    lines = ["\t".join(HEADER)]
    prev = (0, 0, "0")
    date, surveyor = "", 0
    for row in table.rows:
        if row.get("blank"):
            lines.append("")
        cells = cell_station(row, prev)
        cells += [str(row["st"][0]), str(row["st"][1]), row["st"][2]]
        if "xyz" in row:
            cells += [""] * 7
        else:
            cells += [german(row["length"], 2), german(row["azimuth"], 1),
                      german(row["inclination"], 1)]
            cells += [german(v, 1) for v in row["dims"]]
        cells.append(str(row["ring"]) if row.get("ring") else "")
        cells.append(row["date"] if row["date"] != date else "")
        cells.append(str(row["surveyor"]) if row["surveyor"] != surveyor else "")
        date, surveyor = row["date"], row["surveyor"]
        for name in ("bez", "mat", "mass", "bem", "include"):
            cells.append(row.get(name, ""))
        if "xyz" in row:
            cells += [german(v, 2) for v in row["xyz"]]
        else:
            cells += ["", "", ""]
        cells.append(str(row["sheet"]) if "sheet" in row else "")
        for limit, index in ((12, 5), (40, 16), (80, 17), (80, 18), (80, 19)):
            assert len(cells[index]) <= limit, cells[index]
        lines.append("\t".join(cells).rstrip("\t"))
        prev = row["st"]
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def build_caves():
    main = Table(20240517)
    s = lambda c, p, n: (c, p, str(n))

    # Cave 1: Windloch am Hollerbuehl, entrance on a wooded slope.
    main.trip("12.04.2015", 1)
    main.reference(s(1, 1, 0), (487215.40, 5352810.25, 712.30), bez="Eingang Windloch",
                   bem="Vermarkung: Bohrhaken mit Plakette links vom Portal",
                   mat="Fels, Kalk")
    hg = {1: dict(bez="Portal", mat="Laub, Blockschutt"),
          3: dict(bez="Eingangshalle", mat="Blockschutt"),
          6: dict(bez="Wetterengstelle", mass="Fledermauszählung im Winter"),
          10: dict(bez="Abzweig Nordgang"),
          14: dict(bez="Sinterkaskade", mat="Sinter"),
          18: dict(bez="Tropfsteinhalle", mat="Sinter, Tropfsteine",
                   mass="Trittspur markieren; Tropfsteine nicht berühren"),
          20: dict(bez="Tropfsteinhalle Nordende", mat="Sinter"),
          22: dict(bez="Abzweig Oberer Gang"),
          27: dict(bez="Einmündung Nordgang"),
          30: dict(bez="Schachtkopf", mass="Seilsicherung: zwei Bohrhaken setzen"),
          34: dict(bez="Lehmschluf", mat="Lehm", mass="Schluf erweitern"),
          40: dict(bez="Abzweig Seitengang", include=PART_DOCUMENT),
          46: dict(bez="Bärenkammer", mat="Lehm, Knochenreste",
                   mass="Fotodokumentation; Knochen nicht entnehmen"),
          52: dict(bez="Versturz", mat="Blockschutt", bem="instabil, nicht betreten"),
          58: dict(bez="Kluftgang", mat="Fels, Kalk"),
          66: dict(bez="Endpunkt Lehmverschluss", mat="Lehm",
                   mass="Grabungsstelle, weiter graben")}
    big = {3, 4, 17, 18, 19, 20}
    # Main passage: the entrance slope, then the horizon of the stalactite hall.
    frm = s(1, 1, 0)
    heading = 128.0
    for n in range(1, 67):
        if n == 26:
            main.trip("07.11.2015", 2)
        if n == 45:
            main.trip("23.04.2016", 3)
        heading += main.rng.uniform(-22, 22)
        slope = (-28, -12) if n <= 5 else (-7, 5)
        length = main.rng.uniform(8, 16) if n in big else main.rng.uniform(2.5, 11)
        vec = polar(length, heading % 360.0, main.rng.uniform(*slope))
        kind = "halle" if n in big else ("schluf" if n == 34 else "gang")
        main.leg(frm, s(1, 1, n), vec, kind=kind, **hg.get(n, {}))
        frm = s(1, 1, n)

    # A small loop round a sinter pillar in the hall (ring 3).
    main.trip("23.04.2016", 4)
    first = len(main.rows)
    main.loop(s(1, 1, 18), s(1, 1, 20), 1, 7, 1, 5, bulge=6.0, ring=3, kind="gang",
              texts={1: dict(bez="Sinterpfeiler Westseite", mat="Sinter")})
    main.rows[first]["blank"] = True

    # Northern passage, surveyed from the junction and closing at station 27 (ring 1).
    main.trip("17.09.2016", 5)
    first = len(main.rows)
    main.loop(s(1, 1, 10), s(1, 1, 27), 1, 2, 1, 22, bulge=55.0, ring=1,
              texts={1: dict(bez="Nordgang", mat="Lehm"),
                     9: dict(bez="Tümpel", mat="Wasser", bem="Wasserstand 0,4 m"),
                     15: dict(bez="Kriechstrecke", mat="Lehm, Kies")})
    main.rows[first]["blank"] = True

    # Upper passage climbing from the hall.
    main.trip("17.09.2016", 6)
    first = len(main.rows)
    main.walk(s(1, 1, 22), 1, 8, 1, 24, heading=40.0, slope=(-4, 18), lengths=(2.5, 9),
              texts={1: dict(bez="Oberer Gang"),
                     12: dict(bez="Kletterstelle", mass="Fixseil anbringen"),
                     24: dict(bez="Schlot, zu eng", mass="Schlot mit Kletterausrüstung prüfen")})
    main.rows[first]["blank"] = True

    # The shaft from station 30 and the lower level beneath it.
    main.trip("02.06.2018", 7)
    first = len(main.rows)
    shaft = [(3.4, 140.0, -12.0, False, dict(bez="Schachtmund")),
             (11.6, 0.0, -90.0, True, dict(mat="Fels, Kalk")),
             (16.9, 0.0, -90.0, True, dict(bez="Zwischenstufe", mass="Umstieg, Bohrhaken")),
             (7.8, 205.0, -71.0, False, {}),
             (14.3, 0.0, -90.0, True, {}),
             (5.2, 190.0, -38.0, False, dict(bez="Schachtgrund", mat="Blockschutt, Lehm"))]
    frm = s(1, 1, 30)
    for n, (length, azimuth, inclination, vertical, texts) in enumerate(shaft, start=1):
        main.leg(frm, s(1, 3, n), polar(length, azimuth, inclination), kind="schacht",
                 vertical=vertical, **texts)
        frm = s(1, 3, n)
    main.rows[first]["blank"] = True
    lower = main.walk(s(1, 3, 6), 1, 4, 1, 46, heading=215.0, slope=(-6, 4), lengths=(3, 14),
                      kind="gross",
                      texts={1: dict(bez="Untere Etage", mat="Lehm, Kies"),
                             12: dict(bez="Abzweig Umgehung"),
                             19: dict(bez="Bachlauf", mat="Wasser, Kies",
                                      bem="Schüttung ca. 2 l/s"),
                             22: dict(bez="Einmündung Umgehung"),
                             31: dict(bez="Sinterbecken", mat="Sinter, Wasser"),
                             46: dict(bez="Siphon", mat="Wasser",
                                      mass="Tauchgang geplant")})
    main.trip("20.10.2018", 8)
    first = len(main.rows)
    main.loop(s(1, 4, 12), s(1, 4, 22), 1, 6, 1, 11, bulge=22.0, ring=2,
              texts={1: dict(bez="Umgehung", mat="Lehm"),
                     6: dict(bez="Engstelle", mass="Schluf erweitern")})
    main.rows[first]["blank"] = True

    # Cave 2: Fuchsloch, some four hundred metres south-east, with its own reference.
    main.trip("14.05.2019", 1)
    first = len(main.rows)
    main.reference(s(2, 1, 0), (487561.85, 5352598.10, 689.70), bez="Eingang Fuchsloch",
                   mat="Fels, Kalk", bem="GPS-Messung, Mittel aus 20 Minuten")
    main.rows[first]["blank"] = True
    main.walk(s(2, 1, 0), 2, 1, 1, 62, heading=250.0, slope=(-9, 3), lengths=(2.5, 12),
              texts={1: dict(bez="Fuchsbau", mat="Laub, Erde", mass="Tierspuren beachten"),
                     8: dict(bez="Halle am Eingang", mat="Blockschutt"),
                     15: dict(bez="Abzweig Westschleife"),
                     31: dict(bez="Sinterfahne", mat="Sinter"),
                     32: dict(bez="Einmündung Westschleife"),
                     40: dict(bez="Abzweig Seeteil"),
                     45: dict(bez="Abzweig Kluft"),
                     62: dict(bez="Endpunkt", mat="Lehm", mass="Weiter vermessen")})
    main.trip("08.08.2020", 2)
    first = len(main.rows)
    main.loop(s(2, 1, 15), s(2, 1, 32), 2, 2, 1, 18, bulge=-40.0, ring=4,
              texts={1: dict(bez="Westschleife"),
                     10: dict(bez="Fledermausquartier", mass="Befahrung nur April bis Oktober")})
    main.rows[first]["blank"] = True
    main.trip("08.08.2020", 3)
    first = len(main.rows)
    main.walk(s(2, 1, 40), 2, 3, 1, 26, heading=160.0, slope=(-8, 2), lengths=(2.5, 10),
              texts={1: dict(bez="Seeteil"),
                     5: dict(bez="Abzweig Seeumgang"),
                     12: dict(bez="Einmündung Seeumgang"),
                     14: dict(bez="Höhlensee", mat="Wasser", mass="Schlauchboot mitnehmen",
                              bem="Wassertiefe bis 3 m"),
                     26: dict(bez="Endpunkt See", mat="Wasser", mass="Tauchgang geplant")})
    main.rows[first]["blank"] = True
    main.trip("30.09.2023", 4)
    first = len(main.rows)
    main.loop(s(2, 3, 5), s(2, 3, 12), 2, 4, 1, 6, bulge=12.0, ring=5,
              texts={1: dict(bez="Seeumgang", mat="Lehm")})
    main.rows[first]["blank"] = True
    main.trip("30.09.2023", 6)
    first = len(main.rows)
    main.walk(s(2, 1, 45), 2, 5, 1, 14, heading=20.0, slope=(-5, 20), lengths=(2, 8),
              kind="schluf",
              texts={1: dict(bez="Kluft", mat="Fels, Kalk"),
                     14: dict(bez="Kluft zu eng", mass="Nicht befahrbar ohne Erweiterung")})
    main.rows[first]["blank"] = True

    # The side passage from station 40 lives in its own document (an include file).
    part = Table(918273)
    part.trip("11.07.2017", 3)
    junction = s(1, 1, 40)
    xyz = tuple(round(v, 2) for v in main.computed[junction])
    part.reference(junction, xyz, bez="Anschluss Hauptgang",
                   bem="Anschlusspunkt im Hauptgang, Koordinaten aus dem Hauptzug")
    part.true[junction] = main.true[junction]
    part.walk(junction, 1, 5, 1, 24, heading=300.0, slope=(-5, 6), lengths=(2, 10),
              texts={1: dict(bez="Seitengang", mat="Lehm"),
                     9: dict(bez="Abzweig Kammer"),
                     17: dict(bez="Sinterröhre", mat="Sinter"),
                     24: dict(bez="Endpunkt Seitengang", mass="Weiter vermessen")})
    part.trip("11.07.2017", 5)
    first = len(part.rows)
    part.walk(s(1, 5, 9), 1, 9, 1, 8, heading=20.0, slope=(-3, 8), lengths=(1.5, 6),
              kind="schluf",
              texts={1: dict(bez="Kammer am Seitengang"),
                     8: dict(bez="Kammer Ende", mat="Lehm, Sinter")})
    part.rows[first]["blank"] = True
    return main, part


def write_trip(path):
    """A PocketTopo text file of a short trip into a third, small cave."""
    r = random.Random(5140)
    lines = ["Beispieltour (m, 360)",
             "Dachsloch bei Hollerbuehl",
             "[1]: 2023/05/14 2.60",
             "[2]: 2023/06/03 2.60",
             "",
             f"{'1.0':<11}   {487402.10:12.2f}  {5352955.70:12.2f} {731.40:8.2f}  \"Eingang\"",
             ""]

    def shot(frm, to, length, azimuth, inclination, trip=None, comment=None):
        line = f"{frm:<12}{to:<12} {length:7.3f} {azimuth:7.2f} {inclination:7.2f}"
        if trip:
            line += f" [{trip}]"
        if comment:
            line += f" \"{comment}\""
        lines.append(line)

    def noisy(length, azimuth, inclination):
        return (length + r.gauss(0, 0.015), (azimuth + r.gauss(0, 0.5)) % 360.0,
                inclination + r.gauss(0, 0.5))

    def splays(station, heading, count):
        for k in range(count):
            shot(station, "", r.uniform(0.6, 3.5), (heading + 90 + 180 * (k % 2)
                                                      + r.uniform(-30, 30)) % 360.0,
                 r.uniform(-40, 60))

    legs = [("1.0", "1.1", 6.85, 155.0, -32.0, "Eingang"),
            ("1.1", "1.2", 4.12, 170.0, -18.5, None),
            ("1.2", "1.3", 9.47, 201.0, -6.0, "Tropfsteine"),
            ("1.3", "1.4", 5.30, 188.0, 2.5, None),
            ("1.4", "1.5", 7.92, 232.0, -4.0, "Abzweig"),
            ("1.5", "1.6", 3.65, 247.0, -12.0, None),
            ("1.6", "1.7", 6.08, 219.0, 1.5, "Lehmschluf"),
            ("1.7", "1.8", 4.77, 236.0, -2.0, None)]
    for frm, to, length, azimuth, inclination, comment in legs:
        repeats = 3 if frm in ("1.0", "1.2", "1.5") else 2
        for k in range(repeats):
            shot(frm, to, *noisy(length, azimuth, inclination), comment=comment if k == 0 else None)
        if to in ("1.2", "1.4"):
            # Backsight from the far station.
            back = noisy(length, (azimuth + 180.0) % 360.0, -inclination)
            shot(to, frm, *back)
        splays(to, azimuth, 3 if to in ("1.3", "1.5", "1.8") else 1)
    # Leapfrogging: the next station was set first and shot back to 1.8.
    for k in range(2):
        shot("1.9", "1.8", *noisy(5.41, 43.0, 6.0), comment="Endpunkt" if k == 0 else None)
    splays("1.9", 223.0, 2)
    # Second trip: a side passage from 1.5.
    side = [("1.5", "2.0", 3.15, 312.0, 8.0), ("2.0", "2.1", 4.40, 335.0, 12.5),
            ("2.1", "2.2", 2.95, 350.0, 21.0)]
    for frm, to, length, azimuth, inclination in side:
        for k in range(2):
            shot(frm, to, *noisy(length, azimuth, inclination), trip=2,
                 comment="Seitengang, Höhlenbärknochen" if (to == "2.2" and k == 0) else None)
    splays("2.2", 350.0, 2)
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return sum(1 for line in lines[7:] if line)


def main():
    cave, part = build_caves()
    write_table(cave, HERE / MAIN_TABLE)
    write_table(part, HERE / PART_TABLE)
    shots = write_trip(HERE / TRIP_FILE)
    legs = sum(1 for row in cave.rows if "xyz" not in row)
    print(f"{MAIN_TABLE}: {len(cave.rows)} records, {legs} legs")
    print(f"{PART_TABLE}: {len(part.rows)} records")
    print(f"{TRIP_FILE}: {shots} shots")
    for ring, frm, to, (dx, dy, dz) in cave.misclosures:
        print(f"ring {ring}: {frm} - {to}: misclosure {math.sqrt(dx*dx + dy*dy + dz*dz):.3f} m")
    print("junction", cave.computed[(1, 1, "40")])


if __name__ == "__main__":
    main()
