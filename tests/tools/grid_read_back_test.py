#!/usr/bin/env python3
"""vorta-run's grid files as other programs read them: meshio reads the VTK file (written under
a German locale, whose decimal comma must not reach it) into a structured grid of quads whose
nodes carry Cp = 1 - u^2 - v^2, psi 0 on the surface and a closed seam; cgnscheck finds neither
an error nor a warning in the CGNS file. cgnscheck exits with 0 whatever it finds, so its
output is read. Exits with 77 (skipped) when meshio or cgnscheck is missing.

Usage: grid_read_back_test.py VORTA_RUN"""

import os
import shutil
import subprocess
import sys
import tempfile

try:
    import meshio
    import numpy
except ImportError:
    print("meshio is not installed (Debian: python3-meshio)")
    sys.exit(77)
if shutil.which("cgnscheck") is None:
    print("cgnscheck is not installed (Debian: cgns-convert)")
    sys.exit(77)

VORTA_RUN = sys.argv[1]
CATALOG = ("1\r\n0\r\n"
           "0.1,0.05,0.3,0,0.1,0.05,2\r\n"
           "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
           "0,0.1,0,0,0,0.1,2\r\n")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(directory, *arguments, locale="C"):
    environment = dict(os.environ, LC_ALL=locale)
    done = subprocess.run([VORTA_RUN, *arguments], cwd=directory, env=environment, capture_output=True,
                          text=True)
    if done.returncode != 0:
        raise RuntimeError(f"vorta-run {' '.join(arguments)}: {done.stderr}")
    return done.stdout


def check_vtk(directory, entry, NI, NJ):
    name = f"entry{entry}.vtk"
    run(directory, "--entry", entry, "--alpha", "4", "--grid", f"{NI}:{NJ}:5", "--output", name,
        locale="de_DE.UTF-8")
    mesh = meshio.read(os.path.join(directory, name))
    what = f"entry {entry}"
    check(mesh.points.shape == (NI * NJ, 3), f"{what}: {mesh.points.shape} points")
    check(len(mesh.cells) == 1 and mesh.cells[0].type == "quad" and len(mesh.cells[0].data) == (NI - 1) * (NJ - 1),
          f"{what}: cells {mesh.cells}")
    check(numpy.all(mesh.points[:, 2] == 0), f"{what}: z is not 0")
    velocity = mesh.point_data["velocity"]
    Cp = mesh.point_data["Cp"].reshape(-1)
    psi = mesh.point_data["psi"].reshape(-1)
    check(numpy.all(velocity[:, 2] == 0), f"{what}: the velocity's z is not 0")
    check(numpy.max(numpy.abs(Cp - (1 - velocity[:, 0] ** 2 - velocity[:, 1] ** 2))) < 1e-13,
          f"{what}: Cp is not 1 - u^2 - v^2")
    check(numpy.all(psi[:NI] == 0), f"{what}: psi on the surface {psi[:NI]}")
    rings = numpy.hstack([mesh.points[:, :2], velocity[:, :2], Cp[:, None], psi[:, None]]).reshape(NJ, NI, 6)
    check(numpy.array_equal(rings[:, 0, :], rings[:, -1, :]), f"{what}: the seam does not close")
    check(tuple(rings[0, 0, :2]) == (1, 0), f"{what}: the first node is not the trailing edge")


def check_cgns(directory, entry):
    name = f"entry{entry}.cgns"
    run(directory, "--entry", entry, "--alpha", "4", "--grid", "65:33", "--format", "cgns", "--output", name)
    done = subprocess.run(["cgnscheck", name], cwd=directory, capture_output=True, text=True)
    said = done.stdout + done.stderr
    lowered = said.lower()
    check("checking complete" in lowered and "error" not in lowered and "warning" not in lowered,
          f"cgnscheck of entry {entry}:\n{said}")


with tempfile.TemporaryDirectory() as directory:
    with open(os.path.join(directory, "VORTA_Input.txt"), "w", newline="") as catalog:
        catalog.write(CATALOG)
    for entry in ("1", "2", "3"):
        check_vtk(directory, entry, 34, 9)
        check_cgns(directory, entry)

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
