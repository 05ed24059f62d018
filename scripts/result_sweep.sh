#!/usr/bin/env bash
# Writes the result files of a sweep of entries, point counts, angles and layouts with the
# given vorta-run into a directory, one file per case, so that two builds can be compared
# byte for byte: scripts/result_sweep.sh OLD/vorta-run old/ && ... NEW/vorta-run new/ &&
# diff -r old new
set -euo pipefail
vorta_run=$(realpath "$1")
out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sample catalog, then sections at the edges: the circular arc (F = 0), a nearly
# singular one (F = 1e-9), negative camber, m = 1.5 and a thick section.
cp "$here/examples/VORTA_Input.txt" "$work/VORTA_Input.txt"
entries=$(env LANG=C "$vorta_run" --list --input "$work/VORTA_Input.txt" | wc -l)
cat >> "$work/VORTA_Input.txt" <<'CATALOG'
0,0.1,0,0,0,0.05,2
0,0.05,0.3,0,1e-9,0.05,2
0.1,-0.05,0.3,10,0.1,-0.05,1.9
0.12,0.03,0.3,30,0.12,0.03,1.5
0.3,0.05,0.3,5,0.3,0.05,1.95
CATALOG
entries=$((entries + 5))

cd "$work"
for k in $(seq 1 "$entries"); do
  for points in 2 3 50 51 1001 20001; do
    for angle in -20 -5 0 4.5 12 20; do
      for layout in 2 4; do
        name="e${k}_n${points}_a${angle}_l${layout}.txt"
        if ! env LC_ALL=C "$vorta_run" --entry "$k" --points "$points" --alpha "$angle" --layout "$layout" \
             --output - >"$out/$name" 2>"$work/err"; then
          mv "$work/err" "$out/$name.refused"
          rm -f "$out/$name"
        fi
      done
    done
  done
done
echo "$(ls "$out" | wc -l) files in $out"
