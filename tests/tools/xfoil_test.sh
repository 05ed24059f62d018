#!/usr/bin/env bash
# XFOIL, a panel code written elsewhere, loads vorta-run's coordinate files as they are and
# finds the lift of the exact solution within 0.005.
# Usage: xfoil_test.sh VORTA_RUN FPE_STUB   (exit 77, skipped, when xfoil is not installed)
set -euo pipefail
vorta_run=$1
stub=$2
command -v xfoil >/dev/null || { echo "xfoil is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '1\r\n0\r\n0.1,0.1,0.3,18,0.1,0.05,1.9\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n0.12,0.02,0.25,12,0.12,0,2\r\n0.15,0.04,0.3,0,0.15,0.08,1.92\r\n' \
  >VORTA_Input.txt

status=0
for case in 1:4 2:5 3:6 4:8 4:-2; do
  entry=${case%%:*} alpha=${case#*:}
  env LC_ALL=C "$vorta_run" --entry "$entry" --points 201 --format dat --output section.dat
  exact=$(env LC_ALL=C "$vorta_run" --entry "$entry" --alpha-range "$alpha:$alpha:1" --format csv | awk -F, 'NR == 2 { print $3 }')
  rm -f polar.txt
  printf 'PLOP\nG F\n\nLOAD section.dat\nOPER\nPACC\npolar.txt\n\nALFA %s\n\nQUIT\n' "$alpha" |
    LD_PRELOAD="$stub" timeout 60 xfoil >xfoil.log 2>&1 || true
  panel=$(awk 'NF >= 9 && $1 ~ /^-?[0-9]/ { print $2 }' polar.txt 2>/dev/null | tail -n 1)
  if [ -z "$panel" ]; then
    echo "entry $entry at $alpha degrees: XFOIL gave no lift"; tail -n 20 xfoil.log; status=1; continue
  fi
  verdict=$(awk -v a="$exact" -v b="$panel" 'BEGIN { d = a - b; if (d < 0) d = -d; print (d < 0.005 ? "agrees" : "DIFFERS") }')
  echo "entry $entry at $alpha degrees: exact CL $exact, XFOIL $panel: $verdict"
  [ "$verdict" = agrees ] || status=1
done
exit $status
