#!/usr/bin/env bash
# Whole-process times of a comparison of 10^5 points beside writing them: vorta-run writing
# the CSV of an entry's contour at N1 = 100000, and vorta-run comparing that same CSV with the
# exact solution (--compare f.csv --format csv --output out.csv), both in one hyperfine run,
# repeated ROUNDS times. Prints the medians, their ratio, and the machine.
#   bench/compare_whole_process.sh [BUILD_DIR (default build)] [RUNS per round (30)] [ROUNDS (3)]
#                                  [ENTRY of the sample catalog (12)] [ALPHA (4)]
# The machine is shared: run it when it is otherwise idle, and compare rounds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
runs=${2:-30}
rounds=${3:-3}
entry=${4:-12}
alpha=${5:-4}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/examples/VORTA_Input.txt" "$work/VORTA_Input.txt"
vorta="$build/bin/vorta-run --entry $entry --input $work/VORTA_Input.txt --alpha $alpha"
$vorta --points 100000 --format csv --output "$work/f.csv" >/dev/null
echo "the comparison says: $($vorta --compare "$work/f.csv" --format csv --output "$work/out.csv" 2>&1)"

for round in $(seq 1 "$rounds"); do
  hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/round$round.json" \
    -n "write the CSV" "$vorta --points 100000 --format csv --output $work/written.csv" \
    -n "compare the CSV" "$vorta --compare $work/f.csv --format csv --output $work/out.csv" >/dev/null 2>&1
done

python3 - "$work"/round*.json <<'REPORT'
import json, statistics, sys

times = {}
for path in sys.argv[1:]:
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
median = {name: statistics.median(values) * 1000 for name, values in times.items()}
for name, ms in median.items():
    print(f"{name:18s} {ms:8.1f} ms (median of {len(times[name])})")
print(f"compare / write:   {median['compare the CSV'] / median['write the CSV']:.2f}x (at most 3 wanted)")
REPORT
echo
lscpu | head
