"""Section.solve and Section.polar against vorta-run's JSON, to the last bit, and the
refusals of both in the same words."""

import gc
import random
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pytest

import vorta
from conftest import without_options


def same_bits(a, b):
    """Equal to the last bit, but for the sign of a zero, which the JSON does not write."""
    a, b = np.asarray(a, dtype=float) + 0.0, np.asarray(b, dtype=float) + 0.0
    return a.shape == b.shape and a.tobytes() == b.tobytes()


def random_cases(count, seed):
    """(F, G, m, alpha, points): thin and thick, cambered both ways, circular arcs (F = 0),
    Joukowsky sections (m = 2) and sharper trailing edges, at even and odd point counts."""
    rng = random.Random(seed)
    cases = []
    for _ in range(count):
        F = rng.choice([0.0, rng.uniform(0, 0.3), round(rng.uniform(0, 0.3), 3)])
        G = rng.choice([0.0, rng.uniform(-0.12, 0.12)])
        m = rng.choice([2.0, rng.uniform(1.6, 2.0), rng.uniform(0.2, 2.0)])
        alpha = rng.choice([0.0, round(rng.uniform(-15, 20), 2), rng.uniform(-90, 90)])
        points = rng.choice([2, 3, 51, rng.randrange(2, 4000)])
        cases.append((F, G, m, alpha, points))
    # Enough points to be swept on more than one thread.
    cases.append((0.1, 0.05, 1.93, 4.5, 100001))
    return cases


CASES = random_cases(30, seed=20240615)


def record(F, G, m):
    return f"0.1,0.02,0.3,0,{F!r},{G!r},{m!r}"


def test_solve_equals_vorta_run_json_to_the_bit(tool):
    tool.catalog([record(F, G, m) for F, G, m, _, _ in CASES])
    for k, (F, G, m, alpha, points) in enumerate(CASES, 1):
        arguments = ("--entry", k, f"--alpha={alpha!r}", "--points", points)
        done = tool.run(*arguments, "--format", "json")
        if done.returncode != 0:  # results too large to show: refused the same way
            with pytest.raises(ValueError) as refused:
                vorta.Section(F, G, m).solve(alpha, points)
            assert str(refused.value).split(" cannot be calculated: ")[1] == \
                done.stderr.strip().split(" cannot be calculated: ")[1]
            continue
        document = tool.json(*arguments)
        assert [document["entry"]["fields"][name] for name in "FGm"] == [F, G, m]
        r = vorta.Section(F, G, m).solve(alpha, points=points)
        assert (r.N1, r.AlfaD) == (document["N1"], document["AlfaD"])
        for name in ("CL", "Alfa0"):
            assert same_bits(getattr(r, name), document[name]), (k, name)
        assert same_bits(r.CMc4, document["CMc/4"]), k
        for name in ("x", "y", "Cu", "Cp"):
            assert same_bits(getattr(r, name), document[name]), (k, name)


def test_polar_equals_vorta_run_alpha_range_to_the_bit(tool):
    cases = CASES[:8]
    tool.catalog([record(F, G, m) for F, G, m, _, _ in cases])
    for k, (F, G, m, _, _) in enumerate(cases, 1):
        done = tool.run("--entry", k, "--alpha-range=-6:14:0.25", "--format", "json")
        if done.returncode != 0:
            continue
        rows = tool.json("--entry", k, "--alpha-range=-6:14:0.25")["polar"]
        p = vorta.Section(F, G, m).polar([row["AlfaD"] for row in rows])
        for name, key in (("AlfaD", "AlfaD"), ("CL", "CL"), ("CMc4", "CMc/4"), ("Alfa0", "Alfa0")):
            assert same_bits(getattr(p, name), [row[key] for row in rows]), (k, name)


def test_the_polar_takes_any_sequence_and_gives_the_coefficients_of_solve():
    s = vorta.Section(0.1, 0.05, 2)
    p = s.polar(np.linspace(-4, 12, 5))
    assert same_bits(p.CL, s.polar([-4.0, 0.0, 4.0, 8.0, 12.0]).CL)
    assert p.CL[2] == s.solve(4).CL and p.Alfa0[2] == s.solve(4).Alfa0
    assert s.polar([]).CL.shape == (0,)
    with pytest.raises(ValueError, match=r"^alphas\[1\] must be a number of degrees from -5E307 to 5E307\.$"):
        s.polar([0, float("inf")])
    with pytest.raises(ValueError, match="alphas must be a sequence"):
        s.polar(4)


SECTION_REFUSALS = [(0.1, 0.05, 2.5), (-0.1, 0, 2), (0.1, 0, 0), (0.1, 0.1, -1)]


def test_sections_vorta_run_refuses_are_refused_for_the_same_reason(tool):
    tool.catalog([record(F, G, m) for F, G, m in SECTION_REFUSALS])
    for k, (F, G, m) in enumerate(SECTION_REFUSALS, 1):
        said = tool.refusal("--entry", k)
        assert said.startswith(f"Airfoil entry {k} cannot be calculated: ")
        with pytest.raises(ValueError) as refused:
            vorta.Section(F, G, m)
        assert str(refused.value) == f"The section F={F!r} G={G!r} m={m!r} cannot be calculated: " + \
            said.split(" cannot be calculated: ")[1]
    for F, G, m in ((float("nan"), 0, 2), (0.1, float("inf"), 2), (0.1, 0, float("nan"))):
        with pytest.raises(ValueError, match="must be a finite number"):
            vorta.Section(F, G, m)


TOO_LARGE = [((0.1, 0, 1e-10), (), lambda s: s.solve(0)),
             ((1e200, 0, 2), ("--alpha-range=0:4:4",), lambda s: s.polar([0, 4]))]


def test_results_too_large_to_show_are_refused_for_the_same_reason(tool):
    tool.catalog([record(*section) for section, _, _ in TOO_LARGE])
    for k, (section, arguments, call) in enumerate(TOO_LARGE, 1):
        said = tool.refusal("--entry", k, *arguments)
        with pytest.raises(ValueError) as refused:
            call(vorta.Section(*section))
        assert str(refused.value).split(" cannot be calculated: ")[1] == said.split(" cannot be calculated: ")[1]


@pytest.mark.parametrize("arguments, call", [
    (("--points", "1"), lambda s: s.solve(0, points=1)),
    (("--points", "1000001"), lambda s: s.solve(0, points=1000001)),
    (("--alpha", "6e307"), lambda s: s.solve(6e307)),
    (("--alpha=-1e308",), lambda s: s.solve(-1e308, points=3)),
])
def test_inputs_vorta_run_refuses_raise_its_message_less_the_option_names(tool, arguments, call):
    tool.catalog([record(0.1, 0.05, 2)])
    said = tool.refusal("--entry", "1", *arguments)
    with pytest.raises(ValueError) as refused:
        call(vorta.Section(0.1, 0.05, 2))
    assert str(refused.value) == without_options(said)
    assert "--" not in str(refused.value)


def test_an_angle_that_is_no_number_is_refused_as_one_too_large():
    s = vorta.Section(0.1, 0.05, 2)
    with pytest.raises(ValueError, match="^alpha must be a number of degrees"):
        s.solve(float("nan"))
    with pytest.raises(TypeError):
        s.solve(4, points=51.5)


def test_the_arrays_own_the_solvers_memory_and_outlive_the_solution():
    r = vorta.Section(0.1, 0.1, 1.9).solve(5, 1001)
    arrays = [r.x, r.y, r.Cu, r.Cp]
    for a in arrays:
        assert a.dtype == np.float64 and a.shape == (1001,) and not a.flags.owndata
        assert type(a.base).__name__ == "PyCapsule"
    assert r.x.base is r.y.base is r.Cu.base and r.Cp.base is not r.x.base
    copies = [a.copy() for a in arrays]
    del r
    gc.collect()
    vorta.Section(0.2, 0, 2).solve(0, 1001)  # would take the freed memory, were it freed
    assert all(same_bits(a, c) for a, c in zip(arrays, copies))
    assert same_bits(arrays[3], 1 - arrays[2])


def test_sections_solved_on_threads_of_a_pool_give_what_they_give_alone():
    sections = [vorta.Section(F, G, m) for F, G, m, _, _ in CASES[:12] if F > 0]
    alone = [s.solve(3, 200001) for s in sections]
    with ThreadPoolExecutor(max_workers=4) as pool:
        pooled = list(pool.map(lambda s: s.solve(3, 200001), sections))
    for a, b in zip(alone, pooled):
        assert a.CL == b.CL and same_bits(a.x, b.x) and same_bits(a.Cp, b.Cp)
