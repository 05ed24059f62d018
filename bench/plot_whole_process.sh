#!/usr/bin/env bash
# vorta-run --plot as whole processes, with hyperfine, medians: 1-Cp of entry 12 at the default
# size as PNG, SVG and PDF, its contour at a million points as PNG and SVG, and a polar of
# 1 601 angles; with an earlier vorta-run that did not link QtGui, also the start of a plain
# calculation with each, which every task pays.
# Usage: bench/plot_whole_process.sh BUILD_DIR [OLD_VORTA_RUN] [runs]   (default 15 runs)
set -euo pipefail
run=$(cd "$1" && pwd)/bin/vorta-run
old=${2:-}
runs=${3:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$(dirname "$0")/../examples/VORTA_Input.txt" "$work/"
cd "$work"

commands=("$run --entry 12 --alpha 4 --plot cp --output cp.png"
          "$run --entry 12 --alpha 4 --plot cp --output cp.svg"
          "$run --entry 12 --alpha 4 --plot cp --output cp.pdf"
          "$run --entry 12 --alpha 4 --points 1000000 --plot contour --output contour.png"
          "$run --entry 12 --alpha 4 --points 1000000 --plot contour --output contour.svg"
          "$run --entry 12 --alpha-range -4:12:0.01 --plot polar --output polar.png"
          "$run --entry 12 --alpha 4 --format csv --output /dev/null")
[ -n "$old" ] && commands+=("$old --entry 12 --alpha 4 --format csv --output /dev/null")
hyperfine -N -w 3 -r "$runs" --export-json times.json "${commands[@]}" >/dev/null 2>&1
/usr/bin/python3 -c '
import json, statistics
for result in json.load(open("times.json"))["results"]:
    print("%8.1f ms  %s" % (statistics.median(result["times"]) * 1e3, result["command"]))'
