#!/usr/bin/env bash
# Whole-process times of vorta-run writing a grid of 10^6 nodes (--grid 1001:1000, entry 3 of the
# sample catalog at 4 degrees) as VTK and as CGNS, each file replaced whole and synced to the
# disk, beside writing the CSV of the same entry's contour at 10^6 points, all in one hyperfine
# run, repeated ROUNDS times. Prints the medians and the machine.
#   bench/grid_whole_process.sh [BUILD_DIR (default build)] [RUNS per round (10)] [ROUNDS (3)]
# The machine is shared: run it when it is otherwise idle, and compare rounds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
runs=${2:-10}
rounds=${3:-3}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/examples/VORTA_Input.txt" "$work/VORTA_Input.txt"
vorta="$build/bin/vorta-run --entry 3 --input $work/VORTA_Input.txt --alpha 4"
$vorta --grid 1001:1000 --output "$work/grid.vtk"
$vorta --grid 1001:1000 --format cgns --output "$work/grid.cgns" >/dev/null
ls -l "$work/grid.vtk" "$work/grid.cgns"

for round in $(seq 1 "$rounds"); do
  hyperfine -N --style basic --warmup 2 --runs "$runs" --export-json "$work/round$round.json" \
    -n "grid as VTK" "$vorta --grid 1001:1000 --output $work/grid.vtk" \
    -n "grid as CGNS" "$vorta --grid 1001:1000 --format cgns --output $work/grid.cgns" \
    -n "contour CSV" "$vorta --points 1000000 --format csv --output $work/contour.csv" >/dev/null 2>&1
done

python3 - "$work"/round*.json <<'REPORT'
import json, statistics, sys

times = {}
for path in sys.argv[1:]:
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
for name, values in times.items():
    print(f"{name:14s} {statistics.median(values) * 1000:8.1f} ms (median of {len(values)})")
REPORT
echo
lscpu | head
