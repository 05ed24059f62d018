#!/usr/bin/python3
"""The Python module's studies: s.grid(1001, 1000) against the core making the same grid in C++
(grid_bench's MakeGrid: F 0.1, G 0.05, m 2 at 4 degrees, R 100), which shows what the binding
adds to 10^6 nodes handed to numpy without a copy; and vorta.fit of a 1001-point contour,
one call after the other against a pool of threads, which shows the interpreter's lock let go
while the core fits.
    bench/python_studies.py [BUILD_DIR] [ROUNDS]      (defaults: build, 9)
Each figure is the median of ROUNDS; a round makes the grid five times and takes the mean."""

import json
import os
import statistics
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
sys.path.insert(0, os.path.join(build, "python"))

import vorta  # noqa: E402


def ms(work, calls=1):
    """The time of a call, averaged over some calls."""
    start = time.perf_counter()
    for _ in range(calls):
        work()
    return 1e3 * (time.perf_counter() - start) / calls


def core_grid_ms():
    done = subprocess.run([os.path.join(build, "bin", "grid_bench"), "--benchmark_filter=^MakeGrid/",
                           "--benchmark_min_time=0.5", "--benchmark_format=json"],
                          capture_output=True, text=True, check=True)
    return json.loads(done.stdout)["benchmarks"][0]["real_time"]


section = vorta.Section(0.1, 0.05, 2)
contour = vorta.Section(0.1, 0.1, 1.9).solve(0, 1001)
x, y = contour.x[::-1].copy(), contour.y[::-1].copy()
fits = 8
for _ in range(5):  # until the allocator reuses the memory of the grids freed, as in grid_bench
    section.grid(1001, 1000, R=100, alpha=4)
figures = {name: [] for name in ("module", "core", "alone", "pooled")}
for _ in range(rounds):
    figures["module"].append(ms(lambda: section.grid(1001, 1000, R=100, alpha=4), 5))
    figures["core"].append(core_grid_ms())
    figures["alone"].append(ms(lambda: [vorta.fit(x, y) for _ in range(fits)]))
    with ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        figures["pooled"].append(ms(lambda: list(pool.map(lambda _: vorta.fit(x, y), range(fits)))))


def median(name):
    return statistics.median(figures[name])


def ratio(a, b):
    return statistics.median(p / q for p, q in zip(figures[a], figures[b]))


print(f"s.grid(1001, 1000): {median('module'):.1f} ms; in C++ {median('core'):.1f} ms "
      f"(the module takes {ratio('module', 'core'):.2f}x its time)")
print(f"{fits} fits of 1001 points: one after the other {median('alone'):.0f} ms, on a pool of "
      f"{os.cpu_count()} threads {median('pooled'):.0f} ms ({ratio('alone', 'pooled'):.2f}x as fast)")
