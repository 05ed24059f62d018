#!/usr/bin/env bash
# The flow field at 10^6 points: its evaluation held in memory against numpy's vectorised
# evaluation of the same closed form on the same arrays (bench/field_numpy.py), and the whole
# `vorta-run --field` process (read 10^6 points, evaluate, write) against writing the 10^6-point
# contour CSV, with hyperfine.   Usage: bench/field_whole_process.sh [build-dir] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build}")
runs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$here/../examples/VORTA_Input.txt" .
section=(0.1 0.1 1.9 4)  # F G m AlfaD
printf '1\r\n0\r\n0.1,0.1,0.3,18,%s,%s,%s\r\n' "${section[0]}" "${section[1]}" "${section[2]}" >VORTA_Input.txt

echo "== evaluation of 10^6 points in memory (median)"
/usr/bin/python3 "$here/field_numpy.py" "${section[@]}" 1000000 points.raw points.txt
"$build/bin/field_evaluation" points.raw "${section[@]}"

echo "== whole processes"
hyperfine -N -w 2 -r "$runs" \
  "$build/bin/vorta-run --entry 1 --alpha ${section[3]} --field points.txt --output field.csv" \
  "$build/bin/vorta-run --entry 1 --alpha ${section[3]} --points 1000000 --format csv --output contour.csv"
