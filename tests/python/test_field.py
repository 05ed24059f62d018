"""Section.field against vorta-run --field to the bit, the solution on the surface and the
physics of the flow: the free stream far away, the stream function's derivatives, no value
inside the section."""

import csv
import io

import numpy as np
import pytest

import vorta
from test_solve import record, same_bits

SECTIONS = [(0.1, 0.05, 2, 4), (0.1, 0.1, 1.9, 5), (0.05, -0.03, 1.7, -6), (0.2, 0, 2, 0)]


@pytest.mark.parametrize("F, G, m, alpha", SECTIONS)
def test_on_the_surface_the_field_is_the_solution(F, G, m, alpha):
    s = vorta.Section(F, G, m)
    r = s.solve(alpha, 401)
    f = s.field(r.x, r.y, alpha)
    assert np.all(np.isfinite(f.Cp))
    assert np.max(np.abs(f.Cp - r.Cp)) < 1e-12
    assert np.max(np.abs(f.psi)) < 1e-14
    # The velocity runs along the contour.
    tangent = np.gradient(r.x), np.gradient(r.y)
    cross = (f.u * tangent[1] - f.v * tangent[0]) / np.hypot(*tangent)
    assert np.max(np.abs(cross[1:-1])) < 1e-2 * np.max(np.hypot(f.u, f.v))


def random_points(rng, section, alpha):
    """Points anywhere about the section, some inside it, some on its surface, on the chord line
    ahead and behind, and far away."""
    surface = vorta.Section(*section).solve(alpha, 31)
    x = np.concatenate([rng.uniform(-1, 2, 150), surface.x, rng.uniform(-2, 3, 10), rng.uniform(-1e5, 1e5, 5)])
    y = np.concatenate([rng.uniform(-0.7, 0.7, 150), surface.y, np.zeros(10), rng.uniform(-1e5, 1e5, 5)])
    return x, y


@pytest.mark.parametrize("F, G, m, alpha", SECTIONS + [(0, 0.05, 2, 3), (0.02, 0.01, 1.4, -11.5)])
def test_the_field_equals_vorta_run_field_to_the_bit(tool, F, G, m, alpha):
    tool.catalog([record(F, G, m)])
    x, y = random_points(np.random.default_rng(11), (F, G, m), alpha)
    path = f"{tool.folder}/points.txt"
    with open(path, "w") as out:
        out.writelines(f"{a!r} {b!r}\n" for a, b in zip(x, y))
    done = tool.run("--entry", 1, f"--alpha={alpha!r}", "--field", path)
    assert done.returncode == 0, done.stderr
    rows = list(csv.DictReader(io.StringIO(done.stdout, newline="")))
    f = vorta.Section(F, G, m).field(x, y, alpha)
    assert same_bits([float(row["x"]) for row in rows], x) and same_bits([float(row["y"]) for row in rows], y)
    for name in ("u", "v", "Cp", "psi"):
        values = getattr(f, name)
        assert [row[name] == "" for row in rows] == list(np.isnan(values)), name
        assert same_bits([float(row[name]) for row in rows if row[name]], values[~np.isnan(values)]), name
    inside = np.count_nonzero(np.isnan(f.u))
    assert inside > 0 and str(inside) in done.stderr


@pytest.mark.parametrize("F, G, m, alpha", SECTIONS + [(0, 0.05, 2, 3)])
def test_the_flow_obeys_its_stream_function_and_becomes_the_free_stream(F, G, m, alpha):
    s = vorta.Section(F, G, m)
    rng = np.random.default_rng(7)
    x = rng.uniform(-1, 2, 200)
    y = rng.choice([-1, 1], 200) * rng.uniform(0.25, 1, 200)
    f = s.field(x, y, alpha)
    h = 1e-6
    dpsi_dy = (s.field(x, y + h, alpha).psi - s.field(x, y - h, alpha).psi) / (2 * h)
    dpsi_dx = (s.field(x + h, y, alpha).psi - s.field(x - h, y, alpha).psi) / (2 * h)
    assert np.max(np.abs(f.u - dpsi_dy)) < 1e-8 and np.max(np.abs(f.v + dpsi_dx)) < 1e-8
    assert np.max(np.abs(f.Cp - (1 - f.u ** 2 - f.v ** 2))) < 1e-15
    around = np.linspace(0, 2 * np.pi, 9)
    far = s.field(1e6 * np.cos(around), 1e6 * np.sin(around), alpha)
    assert np.max(np.abs(far.u - np.cos(np.radians(alpha)))) < 1e-6
    assert np.max(np.abs(far.v - np.sin(np.radians(alpha)))) < 1e-6


def test_inside_the_section_and_at_the_arcs_sharp_nose_there_is_no_value():
    s = vorta.Section(0.1, 0.05, 2)
    r = s.solve(0, 201)
    # Halfway between the surfaces, at every x of the lower surface's points.
    lower = slice(2, 100)
    upper = np.interp(r.x[lower], r.x[101:200], r.y[101:200])
    f = s.field(r.x[lower], (r.y[lower] + upper) / 2, 0)
    for values in (f.u, f.v, f.Cp, f.psi):
        assert np.all(np.isnan(values))
    arc = vorta.Section(0, 0.05, 2).field(0.0, 0.0, 3)
    assert np.isnan(arc.Cp) and arc.Cp.shape == ()


def test_x_and_y_broadcast_and_each_point_is_as_it_is_alone():
    s = vorta.Section(0.1, 0.1, 1.9)
    xs, ys = np.linspace(-0.5, 1.5, 7), np.linspace(-0.6, 0.6, 5)
    f = s.field(xs[np.newaxis, :], ys[:, np.newaxis], 5)
    assert f.u.shape == (5, 7) and f.AlfaD == 5
    for j, y in enumerate(ys):
        for i, x in enumerate(xs):
            alone = s.field(x, y, 5)
            for name in ("u", "v", "Cp", "psi"):
                assert np.array_equal(getattr(alone, name), getattr(f, name)[j, i], equal_nan=True)
    # Long arrays are shared among threads: the same values.
    x = np.tile(xs, 3000)
    y = np.repeat(np.linspace(-0.6, 0.6, 3000), 7)
    many = s.field(x, y, 5)
    few = s.field(x[::97], y[::97], 5)
    assert np.array_equal(many.psi[::97], few.psi, equal_nan=True)


def test_what_is_no_point_is_refused():
    s = vorta.Section(0.1, 0.1, 1.9)
    with pytest.raises(ValueError, match="^alpha must be a number of degrees"):
        s.field(0.5, 1, float("inf"))
    with pytest.raises(ValueError):
        s.field([1, 2, 3], [1, 2], 0)
    with pytest.raises(TypeError):
        s.field(["a"], [1], 0)
    assert np.isnan(s.field(float("nan"), 1, 0).u)
