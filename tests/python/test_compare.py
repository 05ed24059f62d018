"""vorta.compare against vorta-run --compare: the same rows to the bit, the same points
skipped, the runs decided alike, and the refusals in its words."""

import csv
import io
import re

import numpy as np
import pytest

import vorta

SECTION = (0.1, 0.05, 1.95)
RECORD = "0.1,0.02,0.3,0,0.1,0.05,1.95"


def another_code(points, alpha, disturbed=True):
    """A distribution of another section near this one, in XFOIL's order (upper surface from the
    trailing edge, then the lower one), with a point off the chord."""
    r = vorta.Section(0.11, 0.045, 1.95).solve(alpha, points)
    x, y, Cp = r.x[::-1].copy(), r.y[::-1].copy(), r.Cp[::-1].copy()
    if disturbed:
        Cp += 0.01 * np.sin(7 * x)
        x[5] = 1.5
    return x, y, Cp


def compare_with_tool(tool, alpha, columns, names):
    path = f"{tool.folder}/cp.txt"
    with open(path, "w") as out:
        out.write(" ".join(names) + "\n")
        out.writelines(" ".join(repr(float(v)) for v in row) + "\n" for row in zip(*columns))
    done = tool.run("--entry", "1", f"--alpha={alpha!r}", "--compare", path, "--format", "csv")
    assert done.returncode == 0, done.stderr
    return list(csv.DictReader(io.StringIO(done.stdout, newline=""))), done.stderr.splitlines()


def same_bits(a, b):
    a, b = np.asarray(a, dtype=float) + 0.0, np.asarray(b, dtype=float) + 0.0
    return a.shape == b.shape and a.tobytes() == b.tobytes()


@pytest.mark.parametrize("alpha, with_y", [(4.0, True), (4.0, False), (-3.5, False), (0.0, True)])
def test_the_rows_are_those_of_vorta_run_compare(tool, alpha, with_y):
    tool.catalog([RECORD])
    x, y, Cp = another_code(121, alpha)
    columns, names = ((x, y, Cp), ("x", "y", "Cp")) if with_y else ((x, Cp), ("x", "Cp"))
    rows, said = compare_with_tool(tool, alpha, columns, names)
    c = vorta.compare(vorta.Section(*SECTION), alpha, x, Cp, y if with_y else None)
    for name, column in (("x", "x"), ("Cp_file", "Cp_file"), ("Cp_exact", "Cp_exact"), ("dCp", "dCp")):
        assert same_bits(getattr(c, name), [float(row[column]) for row in rows]), name
    assert list(c.surface) == [row["surface"] for row in rows]
    # The file's line 1 holds the names: point i stands on line i + 2.
    notes = [re.fullmatch(r".*/cp\.txt:(\d+): x (\S+): (.*skipped)", line) for line in said]
    assert c.skipped == [(int(n[1]) - 2, float(n[2]), n[3]) for n in notes if n]
    assert c.skipped[0][:2] == (5, 1.5)
    assert sorted([*c.index, *(i for i, _, _ in c.skipped)]) == list(range(len(x)))
    runs = [line for line in said if "taken as the" in line]
    assert len(c.notes) == len(runs) == (0 if with_y else 2)
    for note, run in zip(c.notes, runs):
        assert note.split("): ", 1)[1] == run.split("): ", 1)[1]
        assert note.startswith("the arrays: points ")


def test_points_whose_cp_does_not_tell_their_surface_are_refused_as_vorta_run_refuses(tool):
    tool.catalog([RECORD])
    x, _, Cp = another_code(81, 4, disturbed=False)
    order = np.argsort(x, kind="stable")
    path = f"{tool.folder}/sorted.txt"
    with open(path, "w") as out:
        out.writelines(f"{x[i]!r} {Cp[i]!r}\n" for i in order)
    said = tool.refusal("--entry", "1", "--alpha", "4", "--compare", path)
    with pytest.raises(ValueError) as refused:
        vorta.compare(vorta.Section(*SECTION), 4, x[order], Cp[order])
    message = str(refused.value)
    assert message.startswith("Cannot compare with the arrays: the Cp of points 0 to 80 (x ")
    assert message.endswith(". Give y as well: the height of a point tells its surface.")
    why = re.compile(r" does not tell which surface it lies on: .*\. ")
    assert why.search(message).group() == why.search(said).group()


def test_arrays_vorta_run_would_refuse_as_a_file_are_refused():
    s = vorta.Section(*SECTION)
    x, y, Cp = another_code(41, 2)
    Cp[3] = np.nan
    with pytest.raises(ValueError, match=r"^Cannot compare with the arrays: Cp\[3\] is nan; the points must be "
                                         r"finite numbers\.$"):
        vorta.compare(s, 2, x, Cp, y)
    y[7] = -np.inf
    with pytest.raises(ValueError, match=r"y\[7\] is -inf"):
        vorta.compare(s, 2, x, np.zeros_like(x), y)
    with pytest.raises(ValueError, match="^Cannot compare with the arrays: they hold no points.$"):
        vorta.compare(s, 2, [], [])
    with pytest.raises(ValueError, match="^No point of the arrays lies on the section.$"):
        vorta.compare(s, 2, [1.5, 2, 3], [0, 0, 0])
    with pytest.raises(ValueError, match="as many values"):
        vorta.compare(s, 2, x, Cp[:-1])
    with pytest.raises(ValueError, match="^alpha must be a number of degrees"):
        vorta.compare(s, 1e308, x, Cp, y)
