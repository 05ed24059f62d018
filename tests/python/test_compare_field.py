"""vorta.compare_field against vorta-run --compare-field --format csv: the same norms to the bit,
the same points inside the section, and the refusals in its words."""

import csv
import io
import re

import numpy as np
import pytest

import vorta
from test_solve import record

SECTION = (0.1, 0.05, 1.95)
NAMES = ("u", "v", "Cp", "psi")


def a_codes_field(n, alpha, seed):
    """n points about the section, a few inside it, and the exact values with errors of several
    sizes added, psi with a constant too."""
    rng = np.random.default_rng(seed)
    x, y = rng.uniform(-0.5, 1.5, n), rng.uniform(-0.6, 0.6, n)
    x[:3], y[:3] = [0.3, 0.5, 0.7], [0.01, 0.0, 0.02]  # inside
    exact = vorta.Section(*SECTION).field(x, y, alpha)
    columns = {}
    for k, name in enumerate(NAMES):
        values = np.nan_to_num(getattr(exact, name)) + rng.normal(0, 10.0 ** -(k + 1), n)
        columns[name] = values + (3 if name == "psi" else 0)
    return x, y, columns


def compare_with_tool(tool, alpha, x, y, columns):
    path = f"{tool.folder}/field.csv"
    with open(path, "w") as out:
        out.write(",".join(["x", "y", *columns]) + "\n")
        for row in zip(x, y, *columns.values()):
            out.write(",".join(repr(float(v)) for v in row) + "\n")
    done = tool.run("--entry", 1, f"--alpha={alpha!r}", "--compare-field", path, "--format", "csv")
    assert done.returncode == 0, done.stderr
    return list(csv.DictReader(io.StringIO(done.stdout, newline=""))), done.stderr


@pytest.mark.parametrize("alpha, given, n", [(4.0, NAMES, 300), (-7.25, ("Cp",), 50), (0.0, ("psi", "u"), 41)])
def test_the_norms_are_those_of_vorta_run_compare_field(tool, alpha, given, n):
    tool.catalog([record(*SECTION)])
    x, y, everything = a_codes_field(n, alpha, seed=n)
    columns = {name: everything[name] for name in given}
    rows, said = compare_with_tool(tool, alpha, x, y, columns)
    c = vorta.compare_field(vorta.Section(*SECTION), alpha, x, y, **columns)
    assert [row["column"] for row in rows] == [name for name in NAMES if name in given] == list(c.norms)
    for row in rows:
        norms = c.norms[row["column"]]
        assert (norms.L1, norms.L2, norms.Linf) == (float(row["L1"]), float(row["L2"]), float(row["Linf"]))
        assert int(row["points"]) == c.points
    # The file's line 1 names the columns: point i stands on line i + 2.
    inside = [int(line) - 2 for line in re.findall(r"field\.csv:(\d+): the point lies inside", said)]
    assert list(c.inside) == inside and inside[:3] == [0, 1, 2] and len(inside) < 20
    assert c.points == n - len(inside)


def test_arrays_of_any_shape_compare_as_they_read_flat():
    s = vorta.Section(*SECTION)
    x, y, columns = a_codes_field(60, 3.0, seed=1)
    flat = vorta.compare_field(s, 3, x, y, **columns)
    square = vorta.compare_field(s, 3, x.reshape(6, 10), y.reshape(6, 10),
                                 **{name: values.reshape(6, 10) for name, values in columns.items()})
    assert all(square.norms[name].L2 == flat.norms[name].L2 for name in NAMES)
    assert list(square.inside) == list(flat.inside)
    assert list(vorta.compare_field(s, 3, x, y, Cp=columns["Cp"], u=None).norms) == ["Cp"]


def test_no_point_outside_the_section_is_refused_as_vorta_run_refuses_it(tool):
    tool.catalog([record(*SECTION)])
    x, y = np.array([0.5, 0.3]), np.array([0.0, 0.01])
    path = f"{tool.folder}/inside.csv"
    with open(path, "w") as out:
        out.write("x,y,u\n" + "".join(f"{a!r},{b!r},1.0\n" for a, b in zip(x, y)))
    said = tool.refusal("--entry", 1, "--compare-field", path).splitlines()[-1]
    with pytest.raises(ValueError) as refused:
        vorta.compare_field(vorta.Section(*SECTION), 0, x, y, u=[1.0, 1.0])
    assert str(refused.value) == said.replace(path, "the arrays")


def test_arrays_vorta_run_would_refuse_as_a_file_are_refused():
    s = vorta.Section(*SECTION)
    x, y, columns = a_codes_field(20, 2.0, seed=2)
    refused = "^Cannot compare the field of the arrays: "
    with pytest.raises(ValueError, match=refused + "give one or more of u, v, Cp and psi.$"):
        vorta.compare_field(s, 2, x, y)
    with pytest.raises(ValueError, match=refused + "they hold no points.$"):
        vorta.compare_field(s, 2, [], [], u=[])
    columns["v"][4] = np.inf
    with pytest.raises(ValueError, match=refused + r"v\[4\] is inf; the points must be finite numbers.$"):
        vorta.compare_field(s, 2, x, y, **columns)
    with pytest.raises(ValueError, match="one shape"):
        vorta.compare_field(s, 2, x, y[:-1], u=columns["u"])
    with pytest.raises(TypeError, match="u, v, Cp and psi, not w"):
        vorta.compare_field(s, 2, x, y, w=x)
    with pytest.raises(ValueError, match="^alpha must be a number of degrees"):
        vorta.compare_field(s, float("nan"), x, y, u=columns["u"])
