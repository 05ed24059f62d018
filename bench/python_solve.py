#!/usr/bin/python3
"""The Python module at a million points: s.solve(4, 10**6) against the same closed form
evaluated with numpy (solver_numpy.py) and against the core's own time in C++ (solver_benchmark:
the solver alone, Solver/KarmanTrefftz/1000000, and the checked calculation with Cp that the
module runs, CheckedSectionWithCp); and a pool of threads solving sections against one thread
solving them in turn.
    bench/python_solve.py [BUILD_DIR] [ROUNDS]      (defaults: build, 15)
Each figure is the median of ROUNDS; the section is the benchmark's Karman-Trefftz one (at 4
degrees here, at 5 in solver_benchmark: the angle does not change the work)."""

import json
import os
import statistics
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 15
sys.path.insert(0, os.path.join(build, "python"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import vorta  # noqa: E402
import solver_numpy  # noqa: E402

F, G, m, N1 = 0.1, 0.1, 1.9, 10 ** 6


def mean_ms(work, calls):
    """The time of a call, averaged over some calls, as Google Benchmark gives the solver's."""
    start = time.perf_counter()
    for _ in range(calls):
        work()
    return 1e3 * (time.perf_counter() - start) / calls


def core_ms():
    """The solver's own time per call, and that of the checked calculation with Cp that the
    module runs, from Google Benchmark in a process of its own."""
    done = subprocess.run([os.path.join(build, "bin", "solver_benchmark"),
                           "--benchmark_filter=^(Solver|CheckedSectionWithCp)/KarmanTrefftz/1000000$",
                           "--benchmark_min_time=0.15", "--benchmark_format=json"],
                          capture_output=True, text=True, check=True)
    unit = {"ms": 1, "us": 1e-3, "ns": 1e-6}
    rows = {row["name"].split("/")[0]: row["real_time"] * unit[row["time_unit"]]
            for row in json.loads(done.stdout)["benchmarks"]}
    return rows["Solver"], rows["CheckedSectionWithCp"]


def solve_in_turn(sections, points):
    for s in sections:
        s.solve(4, points)


def solve_in_a_pool(sections, points):
    with ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        list(pool.map(lambda s: s.solve(4, points), sections))


# Rounds of each measurement one after the other, so that a change in the machine's load
# falls on all of them alike; each ratio is taken within its round.
s = vorta.Section(F, G, m)
for _ in range(40):  # until the allocator settles on reusing the memory of the arrays freed
    s.solve(4, N1)
sections = [vorta.Section(0.05 + 0.002 * k, 0.05, 1.95) for k in range(200)]
figures = {name: [] for name in ("module", "numpy", "core", "checked", "alone", "pooled")}
for _ in range(rounds):
    figures["module"].append(mean_ms(lambda: s.solve(4, N1), 10))
    figures["numpy"].append(mean_ms(lambda: solver_numpy.solve(N1, F, G, m, 1.0, 4), 1))
    core, checked = core_ms()
    figures["core"].append(core)
    figures["checked"].append(checked)
    figures["alone"].append(mean_ms(lambda: solve_in_turn(sections, 10001), 3))
    figures["pooled"].append(mean_ms(lambda: solve_in_a_pool(sections, 10001), 3))


def median(name):
    return statistics.median(figures[name])


def ratio(a, b):
    return statistics.median(x / y for x, y in zip(figures[a], figures[b]))


print(f"s.solve(4, 10**6): {median('module'):.2f} ms; numpy {median('numpy'):.1f} ms "
      f"({ratio('numpy', 'module'):.1f}x the module's time); in C++ the solver alone "
      f"{median('core'):.2f} ms (the module takes {ratio('module', 'core'):.2f}x its time), the checked "
      f"calculation with Cp {median('checked'):.2f} ms ({ratio('module', 'checked'):.2f}x)")
print(f"200 sections at 10001 points: one after the other {median('alone'):.1f} ms, on a pool of "
      f"{os.cpu_count()} threads {median('pooled'):.1f} ms ({ratio('alone', 'pooled'):.2f}x as fast)")
