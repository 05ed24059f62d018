"""Section.grid against vorta-run --grid --format vtk: the same nodes and values to the bit, the
same NJ for square cells, and the refusals in its words."""

import gc
import random
import re

import numpy as np
import pytest

import vorta
from test_solve import record, same_bits


def random_grids(count, seed):
    """(F, G, m, alpha, NI, NJ, R): thin and thick, cambered both ways, Joukowsky sections and
    sharper trailing edges, the flat plate (any even NI), at small sizes and any R."""
    rng = random.Random(seed)
    cases = [(0.0, 0.0, 2.0, 5.0, 8, 3, 1.0)]
    for _ in range(count):
        F = rng.choice([rng.uniform(0.01, 0.3), round(rng.uniform(0.01, 0.3), 3)])
        G = rng.choice([0.0, rng.uniform(-0.12, 0.12)])
        m = rng.choice([2.0, rng.uniform(1.6, 2.0)])
        alpha = rng.choice([0.0, round(rng.uniform(-15, 20), 2), rng.uniform(-90, 90)])
        R = rng.choice([100.0, 0.001, 1e6, rng.uniform(0.5, 500)])
        cases.append((F, G, m, alpha, rng.randrange(3, 70), rng.randrange(2, 40), R))
    return cases


CASES = random_grids(8, seed=20240701)


def read_vtk(text):
    """{name: values} of a VTK structured grid as vorta-run writes it: x, y, Cp, psi, u, v."""
    lines = text.splitlines()
    n = int(re.search(r"^POINTS (\d+) double$", text, re.M)[1])

    def block(header, skip):
        start = lines.index(header) + 1 + skip
        return np.array([[float(v) for v in line.split()] for line in lines[start:start + n]])

    points, velocity = block(f"POINTS {n} double", 0), block("VECTORS velocity double", 0)
    return {"x": points[:, 0], "y": points[:, 1], "Cp": block("SCALARS Cp double 1", 1)[:, 0],
            "psi": block("SCALARS psi double 1", 1)[:, 0], "u": velocity[:, 0], "v": velocity[:, 1]}


def test_the_grid_equals_vorta_run_grid_to_the_bit(tool):
    tool.catalog([record(F, G, m) for F, G, m, *_ in CASES])
    for k, (F, G, m, alpha, NI, NJ, R) in enumerate(CASES, 1):
        size = f"--grid={NI}:{NJ}:{R!r}"
        written = read_vtk(tool.output("--entry", k, f"--alpha={alpha!r}", size))
        g = vorta.Section(F, G, m).grid(NI, NJ, R=R, alpha=alpha)
        assert (g.NI, g.NJ, g.R, g.AlfaD) == (NI, NJ, R, alpha)
        for name, values in written.items():
            array = getattr(g, name)
            assert array.shape == (NJ, NI), name
            assert same_bits(array.ravel(), values), (k, name)
        said = tool.output("--entry", k, f"--alpha={alpha!r}", size, "--output", "grid.vtk")
        square = re.fullmatch(r"NJ = (\d+) makes the cells square with NI = (\d+) \(the outer ring's radius "
                              r"(\S+) times the circle's\)\.\n", said)
        assert (int(square[1]), int(square[2])) == (g.square_NJ, NI)
        assert abs(float(square[3]) - g.outer_ratio) <= 0.05 * (1 + 1e-12)


def test_the_arrays_are_the_grids_memory_and_outlive_it():
    g = vorta.Section(0.1, 0.05, 2).grid(33, 9, alpha=4)
    arrays = [g.x, g.y, g.u, g.v, g.Cp, g.psi]
    assert all(not a.flags.owndata and a.base is g.x.base and a.dtype == np.float64 for a in arrays)
    copies = [a.copy() for a in arrays]
    del g
    gc.collect()
    vorta.Section(0.2, 0, 1.9).grid(33, 9)
    assert all(same_bits(a, c) for a, c in zip(arrays, copies))
    # Ring 0 is the surface, where psi is 0; the seam closes bit for bit.
    x, psi = arrays[0], arrays[5]
    assert np.all(psi[0] == 0) and same_bits(x[:, 0], x[:, -1])


GRID_REFUSALS = [
    (("--grid", "2:5"), lambda s: s.grid(2, 5)),
    (("--grid", "5:1"), lambda s: s.grid(5, 1)),
    (("--grid", "4000:2501"), lambda s: s.grid(4000, 2501)),
    (("--grid", "3:2:0.0009"), lambda s: s.grid(3, 2, R=0.0009)),
    (("--grid", "3:2:2e6"), lambda s: s.grid(3, 2, R=2e6)),
    (("--grid", "9:5", "--alpha", "6e307"), lambda s: s.grid(9, 5, alpha=6e307)),
]


@pytest.mark.parametrize("arguments, call", GRID_REFUSALS)
def test_sizes_and_angles_vorta_run_refuses_raise_its_message_less_the_option(tool, arguments, call):
    tool.catalog([record(0.1, 0.05, 2)])
    said = tool.refusal("--entry", 1, *arguments)
    with pytest.raises(ValueError) as refused:
        call(vorta.Section(0.1, 0.05, 2))
    assert str(refused.value) == said.replace("--grid ", "").replace("--", "")


def test_a_node_on_the_arcs_sharp_leading_edge_is_refused_as_vorta_run_refuses_it(tool):
    tool.catalog([record(0.0, 0.0, 2.0)])
    said = tool.refusal("--entry", 1, "--grid", "5:3")
    with pytest.raises(ValueError) as refused:
        vorta.Section(0, 0, 2).grid(5, 3)
    assert said.startswith("No grid for airfoil entry 1: ")
    assert str(refused.value) == said.replace("airfoil entry 1", "the section F=0 G=0 m=2")
    with pytest.raises(TypeError):
        vorta.Section(0, 0, 2).grid(5.5, 3)
