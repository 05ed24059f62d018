#!/usr/bin/env bash
# Whole-process times at N1 = 1000000 for one Karman-Trefftz section (F 0.1, G 0.1, m 1.9,
# 5 degrees): vorta-run with --layout 0 (it writes the header and the point count only, so
# it measures the solver), the line-for-line scalar C transcription (solver_transcription)
# and the same closed form in numpy (solver_numpy.py), beside the process start of each:
# true, an empty C program, python3 -c pass, and vorta-run at N1 = 2. All in one hyperfine
# run, repeated ROUNDS times; prints the medians, each time net of its process start, and
# the ratios.
#   bench/solver_whole_process.sh [BUILD_DIR (default build)] [RUNS per round (30)] [ROUNDS (3)]
# The machine is shared: run it when it is otherwise idle, and compare rounds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
runs=${2:-30}
rounds=${3:-3}
python=/usr/bin/python3  # the one Debian's python3-numpy belongs to
F=0.1 G=0.1 m=1.9 AlfaD=5 N1=1000000

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/examples/VORTA_Input.txt" "$work/VORTA_Input.txt"
printf '0.13,0.02,0.3,10,%s,%s,%s\n' "$F" "$G" "$m" >>"$work/VORTA_Input.txt"
entry=$("$build/bin/vorta-run" --list --input "$work/VORTA_Input.txt" | wc -l)
vorta="$build/bin/vorta-run --entry $entry --input $work/VORTA_Input.txt --alpha $AlfaD --layout 0 --output -"
# The machine sets OpenBLAS variables that slow a current numpy; unset for its command only.
numpy="env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE $python $here/bench/solver_numpy.py $F $G $m $N1 $AlfaD"

for round in $(seq 1 "$rounds"); do
  hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/round$round.json" \
    -n "start: true" "true" \
    -n "start: empty C program" "$build/bin/solver_empty" \
    -n "start: python3 -c pass" "$python -c pass" \
    -n "start: vorta-run N1=2" "$vorta --points 2" \
    -n "vorta-run" "$vorta --points $N1" \
    -n "transcription" "$build/bin/solver_transcription $F $G $m $N1 $AlfaD" \
    -n "numpy" "$numpy" >/dev/null
done

"$python" - "$work"/round*.json <<'REPORT'
import json, statistics, sys

times = {}
for path in sys.argv[1:]:
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
median = {name: statistics.median(values) * 1000 for name, values in times.items()}
for name, ms in median.items():
    print(f"{name:26s} {ms:8.1f} ms (median of {len(times[name])})")

net = {
    "vorta-run": median["vorta-run"] - median["start: vorta-run N1=2"],
    "transcription": median["transcription"] - median["start: empty C program"],
    "numpy": median["numpy"] - median["start: python3 -c pass"],
}
print()
print("net of process start (vorta-run: less vorta-run at N1 = 2; transcription: less the empty")
print("C program; numpy: less python3 -c pass)")
for name, ms in net.items():
    print(f"  {name:24s} {ms:8.1f} ms")
print(f"  vorta-run less the empty C program instead: {median['vorta-run'] - median['start: empty C program']:.1f} ms")
print()
print(f"transcription / vorta-run: {net['transcription'] / net['vorta-run']:.1f}x")
print(f"numpy / vorta-run:         {net['numpy'] / net['vorta-run']:.1f}x")
REPORT
