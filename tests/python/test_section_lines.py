"""vorta.describe, vorta.design and vorta.fit against the catalog lines vorta-run --describe,
--design and --fit print, to the bit where it prints shortest numbers, and their refusals in
its words."""

import math
import random

import numpy as np
import pytest

import vorta


def random_sections(count, seed):
    rng = random.Random(seed)
    cases = [(0.0, 0.0, 2.0), (0.0, 0.05, 2.0), (0.3, -0.1, 0.5), (1e-05, 0.05, 2.0)]
    for _ in range(count):
        cases.append((rng.choice([rng.uniform(0, 0.3), round(rng.uniform(0, 0.3), 3)]),
                      rng.choice([0.0, rng.uniform(-0.12, 0.12)]),
                      rng.choice([2.0, rng.uniform(1.6, 2.0), rng.uniform(0.5, 2.0)])))
    return cases


def shortest(value):
    """The shortest text that reads back as the number, as vorta-run writes F, G and m: 2, not 2.0."""
    text = repr(float(value))
    return text[:-2] if text.endswith(".0") else text


def measures_in_line(d):
    return d.line.split(",")[:4]


@pytest.mark.parametrize("F, G, m", random_sections(8, seed=20240702))
def test_describe_gives_the_line_of_vorta_run_describe(tool, F, G, m):
    line = tool.output(f"--describe={shortest(F)},{shortest(G)},{shortest(m)}").strip()
    d = vorta.describe(vorta.Section(F, G, m))
    assert d.line == line
    assert (d.section.F, d.section.G, d.section.m) == (F, G, m)
    assert d.Tau == 180 * (2 - m)
    delta, gama, place, _ = measures_in_line(d)
    for value, text in ((d.Delta, delta), (d.Gama, gama), (d.xDltC, place)):
        assert abs(value - float(text)) <= 0.5e-4 * (1 + 1e-9)


def random_targets(count, seed):
    rng = random.Random(seed)
    return [(0.12, 0.02, 10.0), (0.15, 0.0, 0.0), (0.0, 0.0, 0.0)] + [
        (round(rng.uniform(0.04, 0.25), 3), round(rng.uniform(-0.05, 0.06), 3), rng.choice([0.0, 5.5, 14.0]))
        for _ in range(count)]


@pytest.mark.parametrize("T, C, TAU", random_targets(5, seed=20240703))
def test_design_gives_the_line_of_vorta_run_design_to_the_bit(tool, T, C, TAU):
    line = tool.output(f"--design={T!r},{C!r},{TAU!r}").strip()
    d = vorta.design(T, C, TAU)
    assert d.line == line
    F, G, m = (float(text) for text in line.split(",")[4:])
    assert (d.section.F, d.section.G, d.section.m) == (F, G, m)
    assert abs(d.Delta - T) <= 1e-10 and abs(d.Gama - C) <= 1e-10


@pytest.mark.parametrize("T, C, TAU", [(-0.1, 0, 0), (0.1, 0, 180), (0.1, 0, 200), (0.02, 0.02, 10),
                                       (1.2, 0, 10), (0.1, 0.6, 10)])
def test_targets_vorta_run_refuses_are_refused_in_its_words(tool, T, C, TAU):
    said = tool.refusal(f"--design={T!r},{C!r},{TAU!r}")
    with pytest.raises(ValueError) as refused:
        vorta.design(T, C, TAU)
    assert str(refused.value) == said


def test_what_vorta_run_cannot_be_given_is_refused_by_name():
    for T, C, TAU, target in ((math.nan, 0, 0, "Thickness nan"), (0.1, math.inf, 0, "Camber inf"),
                              (0.1, 0, -math.inf, "Trailing-edge angle -inf")):
        with pytest.raises(ValueError, match=f"^{target}: it must be a finite number.$"):
            vorta.design(T, C, TAU)
    with pytest.raises(ValueError) as refused:
        vorta.describe(vorta.Section(1e200, 0, 2))
    assert str(refused.value) == ("The section F=1e+200 G=0 m=2 cannot be described: its contour, as the "
                                  "solution gives it, has no extent in x or points beyond the range of numbers.")


def naca(camber, place, thickness, stations):
    """A NACA 4-digit section with the closed trailing edge, in XFOIL's order at cosine spacing."""
    x = (1 - np.cos(np.pi * np.arange(stations + 1) / stations)) / 2
    yt = 5 * thickness * (0.2969 * np.sqrt(x) - 0.1260 * x - 0.3516 * x ** 2 + 0.2843 * x ** 3 - 0.1036 * x ** 4)
    front = x < place
    d = np.where(front, place ** 2, (1 - place) ** 2)
    yc = camber / d * np.where(front, 2 * place * x - x * x, 1 - 2 * place + 2 * place * x - x * x)
    angle = np.arctan(2 * camber / d * (place - x))
    upper = x - yt * np.sin(angle), yc + yt * np.cos(angle)
    lower = x + yt * np.sin(angle), yc - yt * np.cos(angle)
    return np.concatenate([upper[0][::-1], lower[0][1:]]), np.concatenate([upper[1][::-1], lower[1][1:]])


def moved(x, y, scale, turn, shift):
    z = scale * np.exp(1j * np.radians(turn)) * (x + 1j * y) + shift
    return z.real, z.imag


CONTOURS = [naca(0.02, 0.4, 0.12, 80), naca(0, 0.4, 0.12, 30),
            moved(*naca(0.04, 0.4, 0.15, 60), 250, 3, 40 - 7j)]


@pytest.mark.parametrize("x, y", CONTOURS)
def test_fit_gives_the_line_and_the_note_of_vorta_run_fit(tool, x, y):
    path = f"{tool.folder}/contour.dat"
    with open(path, "w") as out:
        out.write("a contour\n" + "".join(f"{a!r} {b!r}\n" for a, b in zip(x, y)))
    done = tool.run("--fit", path)
    assert done.returncode == 0, done.stderr
    f = vorta.fit(x, y)
    assert f.line == done.stdout.strip()
    t = f.transform
    note = (f"largest distance {f.largest_distance:#.6g}, rms distance {f.rms_distance:#.6g} (chords); the "
            f"section lies on the points when scaled by {t.scale:#.6g}, turned by {t.turn:#.6g} degrees and "
            f"shifted by {t.shift_x:#.6g} in x and {t.shift_y:#.6g} in y")
    assert note == done.stderr.strip()
    assert isinstance(f, vorta.Description) and f.section.m == float(f.line.split(",")[6])


# The file's name becomes "the arrays", each message as the arrays say it.
FIT_REFUSALS = [(np.full((41, 2), 0.5), "Cannot fit FILE: ", "Cannot fit the arrays: "),
                (np.stack(naca(0, 0.4, 0.12, 15), axis=1), "FILE holds", "Cannot fit the arrays: they hold")]


def test_points_vorta_run_refuses_as_a_file_are_refused_in_its_words(tool):
    path = f"{tool.folder}/contour.dat"
    for points, from_file, from_arrays in FIT_REFUSALS:
        with open(path, "w") as out:
            out.write("".join(f"{a!r} {b!r}\n" for a, b in points))
        said = tool.refusal("--fit", path)
        assert said.startswith(from_file.replace("FILE", path))
        with pytest.raises(ValueError) as refused:
            vorta.fit(points[:, 0], points[:, 1])
        assert str(refused.value) == from_arrays + said[len(from_file.replace("FILE", path)):]
    x, y = naca(0, 0.4, 0.12, 30)
    x[4] = np.nan
    with pytest.raises(ValueError, match=r"^Cannot fit the arrays: x\[4\] is nan; the points must be finite"):
        vorta.fit(x, y)
    with pytest.raises(ValueError, match="as many"):
        vorta.fit(x, y[1:])
