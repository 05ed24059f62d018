#!/usr/bin/env bash
# Whole-process times of polars over a 50-entry catalog, two vorta-run programs in the same
# hyperfine run (so that both see the same load), and the ratio of their medians per case:
#   every entry from -10 to 20 degrees by 0.003 (10 001 angles each), as text, CSV and JSON,
#     at the default point count;
#   one entry by 0.3 degrees (101 angles) at --points 1000000, where a polar that solves the
#     contour at each angle pays for a million points each time.
# The whole catalog at a million points is left out: solving every contour takes hours.
#   bench/polar_whole_process.sh BEFORE/vorta-run AFTER/vorta-run [RUNS (10)]
# The machine is shared: run it when it is otherwise idle, and compare rounds.
set -euo pipefail
before=$(realpath "$1")
after=$(realpath "$2")
runs=${3:-10}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  printf '1\r\n0\r\n'
  for i in $(seq 1 50); do printf '0.1,0.1,0.3,9,0.%02d,0.1,1.9\r\n' "$i"; done
} >"$work/VORTA_Input.txt"
cd "$work"

cases=(
  "all, 10001 angles, text|--entry all --alpha-range -10:20:0.003"
  "all, 10001 angles, CSV|--entry all --alpha-range -10:20:0.003 --format csv"
  "all, 10001 angles, JSON|--entry all --alpha-range -10:20:0.003 --format json"
  "one, 101 angles, 10^6 points|--entry 1 --alpha-range -10:20:0.3 --points 1000000"
)
commands=()
for c in "${cases[@]}"; do
  name=${c%%|*}
  options=${c#*|}
  commands+=(-n "before: $name" "$before $options --output /dev/null")
  commands+=(-n "after: $name" "$after $options --output /dev/null")
done
# Both programs must write the same rows, or the times compare different work.
for c in "${cases[@]}"; do
  options=${c#*|}
  cmp -s <($before $options --output - 2>&1) <($after $options --output - 2>&1) ||
    echo "note: the two programs write different rows for: $options" >&2
done

hyperfine -N --style basic --warmup 1 --runs "$runs" --export-json "$work/times.json" "${commands[@]}" >/dev/null

python3 - "$work/times.json" <<'REPORT'
import json, statistics, sys

median = {r["command"]: statistics.median(r["times"]) * 1000 for r in json.load(open(sys.argv[1]))["results"]}
print(f"{'case':32s} {'before':>11s} {'after':>11s} {'ratio':>8s}")
for name in dict.fromkeys(n.split(": ", 1)[1] for n in median):
    b, a = median["before: " + name], median["after: " + name]
    print(f"{name:32s} {b:8.1f} ms {a:8.1f} ms {b / a:7.1f}x")
REPORT
