#!/usr/bin/env python3
"""vorta-run's data formats as other programs read them: Python's own csv and json modules
parse every format, the formats agree with each other to the last bit, they do not change
with the regional settings, and a comparison finds the exact solution in what it wrote and in
a Joukowsky distribution computed here from the complex potential.

Usage: read_back_test.py VORTA_RUN"""

import cmath
import csv
import io
import json
import math
import os
import subprocess
import sys
import tempfile

VORTA_RUN = sys.argv[1]
CATALOG = ("1\r\n0\r\n"
           "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
           "0.15,0,0.3,0,0.15,0,2\r\n"
           "0,0.1,0,0,0,0.05,2\r\n")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(directory, *arguments, locale="C"):
    environment = dict(os.environ, LC_ALL=locale)
    environment.pop("LANG", None)
    done = subprocess.run([VORTA_RUN, *arguments], cwd=directory, env=environment, capture_output=True)
    if done.returncode != 0:
        raise RuntimeError(f"vorta-run {' '.join(arguments)}: {done.stderr.decode()}")
    return done.stdout


def contour_formats(directory):
    table = run(directory, "--entry", "1", "--points", "201", "--alpha", "5", "--format", "csv")
    rows = list(csv.reader(io.StringIO(table.decode(), newline="")))
    check(rows[0] == ["i", "x", "y", "Cu", "Cp"], f"csv header {rows[0]}")
    rows = rows[1:]
    check(len(rows) == 201, f"csv has {len(rows)} rows")
    check(all(float(r[4]) == 1 - float(r[3]) for r in rows), "csv Cp is 1 - Cu")
    check(table == run(directory, "--entry", "1", "--points", "201", "--alpha", "5", "--format", "csv",
                       locale="de_DE.UTF-8"), "csv changes with the locale")

    document = json.loads(run(directory, "--entry", "1", "--points", "201", "--alpha", "5", "--format", "json"))
    check(document["entry"]["number"] == 1 and document["entry"]["fields"]["m"] == 1.9, "json entry")
    check(document["N1"] == 201 and document["AlfaD"] == 5, "json N1 and AlfaD")
    check(abs(document["CL"] - 1.279371) < 5e-7, f"json CL {document['CL']}")
    for name, column in (("x", 1), ("y", 2), ("Cu", 3), ("Cp", 4)):
        check(document[name] == [float(r[column]) for r in rows], f"json {name} differs from csv")

    lines = run(directory, "--entry", "1", "--points", "201", "--alpha", "5", "--format", "dat").decode()
    check("\r" not in lines, "dat has CR")
    lines = lines.splitlines()
    check(lines[0] == "Vorta F=0.1 G=0.1 m=1.9", f"dat name line {lines[0]}")
    points = [tuple(map(float, line.split())) for line in lines[1:]]
    check(points == [(float(r[1]), float(r[2])) for r in reversed(rows)], "dat differs from csv reversed")
    check(points[10][1] > 0 and points[-10][1] < 0, "dat runs over the upper surface first")
    return document["CL"]


def polars(directory, contour_CL):
    table = run(directory, "--entry", "all", "--alpha-range", "-4:12:0.5", "--format", "csv")
    rows = list(csv.DictReader(io.StringIO(table.decode(), newline="")))
    check(len(rows) == 3 * 33, f"polar has {len(rows)} rows")
    check([r["AlfaD"] for r in rows[:3]] == ["-4", "-3.5", "-3"], "polar angles")
    at5 = [r for r in rows if r["entry"] == "1" and float(r["AlfaD"]) == 5]
    check(len(at5) == 1 and float(at5[0]["CL"]) == contour_CL, "polar CL differs from the contour's")
    document = json.loads(run(directory, "--entry", "2", "--alpha-range", "0:10:5", "--format", "json"))
    check([row["AlfaD"] for row in document["polar"]] == [0, 5, 10], "json polar angles")
    check(document["polar"][0]["CL"] == 0, "a symmetric section lifts nothing at 0 degrees")


def comparisons(directory):
    # Vorta's own csv, fed back.
    own = os.path.join(directory, "own.csv")
    run(directory, "--entry", "1", "--points", "401", "--alpha", "5", "--format", "csv", "--output", own)
    rows = list(csv.DictReader(io.StringIO(run(directory, "--entry", "1", "--alpha", "5", "--compare", own,
                                               "--format", "csv").decode(), newline="")))
    check(len(rows) == 401, f"compared {len(rows)} of 401 points")
    check(max(abs(float(r["dCp"])) for r in rows) < 1e-9, "own csv differs from the exact solution")

    # The circular arc (F = 0), whose surfaces y does not part, fed back with and without y and
    # in XFOIL's order: every row on the surface its point came from, and only the nose, where
    # the exact solution is singular, skipped. Point i of Vorta's own order lies on the lower
    # surface for 1 < i < 81, on the upper one for 81 < i < 161; 1 and 161 are the trailing edge.
    arc = os.path.join(directory, "arc.csv")
    run(directory, "--entry", "3", "--points", "161", "--alpha", "3", "--format", "csv", "--output", arc)
    own_rows = list(csv.DictReader(open(arc, newline="")))
    xfoil = os.path.join(directory, "arc_xfoil.txt")
    with open(xfoil, "w") as out:
        out.writelines(f"{r['x']} {r['Cp']}\n" for r in reversed(own_rows))
    for path, first_line, points in ((arc, 2, own_rows), (xfoil, 1, own_rows[::-1])):
        done = subprocess.run([VORTA_RUN, "--entry", "3", "--alpha", "3", "--compare", path, "--format", "csv"],
                              cwd=directory, capture_output=True)
        rows = list(csv.DictReader(io.StringIO(done.stdout.decode(), newline="")))
        skipped = [line.split(":") for line in done.stderr.decode().splitlines() if "skipped" in line]
        skipped_lines = {int(fields[1]) for fields in skipped}
        kept = [p for n, p in enumerate(points, first_line) if n not in skipped_lines]
        check(done.returncode == 0 and len(rows) == len(kept), f"{path}: {len(rows)} rows for {len(kept)} points")
        check(all(float(p["x"]) == 0 for n, p in enumerate(points, first_line) if n in skipped_lines),
              f"{path}: a point other than the nose skipped: {skipped}")
        check(max(abs(float(r["dCp"])) for r in rows) < 1e-9, f"{path}: the arc differs from itself")
        wrong = [(p["i"], r["surface"]) for p, r in zip(kept, rows)
                 if p["i"] not in ("1", "161") and r["surface"] != ("lower" if int(p["i"]) < 81 else "upper")]
        check(not wrong, f"{path}: arc points on the wrong surface: {wrong}")
        check(done.stderr.count(b"taken as the") == 2, f"{path}: the runs are not said: {done.stderr}")

    # The symmetric Joukowsky section F = 0.15 at 5 degrees from its complex potential:
    # circle of radius a = 1 + F about -F, z = zeta + 1/zeta, Kutta condition at zeta = 1.
    F, alpha = 0.15, math.radians(5)
    a, centre = 1 + F, complex(-F, 0)
    circulation = 4 * math.pi * a * math.sin(alpha)
    leading, trailing = -((1 + 2 * F) + 1 / (1 + 2 * F)), 2.0
    chord = trailing - leading
    lines = ["# x y Cp, Joukowsky F = 0.15 at 5 degrees"]
    for step in range(1, 120):
        phi = 2 * math.pi * step / 120
        zeta = centre + a * cmath.exp(1j * phi)
        w = cmath.exp(-1j * alpha) - a * a * cmath.exp(1j * alpha) / (zeta - centre) ** 2 \
            + 1j * circulation / (2 * math.pi * (zeta - centre))
        speed = abs(w / (1 - 1 / zeta ** 2))
        z = zeta + 1 / zeta
        lines.append(f"{(z.real - leading) / chord!r} {z.imag / chord!r} {1 - speed * speed!r}")
    hand = os.path.join(directory, "joukowsky.txt")
    with open(hand, "w") as out:
        out.write("\n".join(lines) + "\n")
    rows = list(csv.DictReader(io.StringIO(run(directory, "--entry", "2", "--alpha", "5", "--compare", hand,
                                               "--format", "csv").decode(), newline="")))
    check(len(rows) == 119, f"compared {len(rows)} of 119 Joukowsky points")
    worst = max(abs(float(r["dCp"])) for r in rows)
    check(worst < 1e-9, f"the Joukowsky distribution differs by {worst}")
    # Points 1 to 59 lie on the upper surface (0 < phi < pi), 60 is the nose, the rest below.
    check(all((r["surface"] == "upper") == (i < 59) for i, r in enumerate(rows) if i != 59),
          "upper and lower surfaces")


with tempfile.TemporaryDirectory() as directory:
    with open(os.path.join(directory, "VORTA_Input.txt"), "w", newline="") as catalog:
        catalog.write(CATALOG)
    polars(directory, contour_formats(directory))
    comparisons(directory)

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
