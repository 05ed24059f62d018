#!/usr/bin/env bash
# The rooms of core/ depend one way, and none on Qt: each room includes only itself and the
# rooms below it.   Usage: layering_test.sh CORE_DIR
set -euo pipefail
core=$1
declare -A below=(
  [numbers]=""
  [catalog]="numbers"
  [solver]=""
  [calculation]="numbers catalog solver"
  [output]="numbers catalog solver calculation"
  [studies]="numbers catalog solver calculation output"
)
status=0
for room in "${!below[@]}"; do
  for used in $(grep -ho '#include "core/[a-z_]*/' "$core/$room"/*.h "$core/$room"/*.cpp | sed 's|#include "core/||;s|/||' | sort -u); do
    if [ "$used" != "$room" ] && [[ " ${below[$room]} " != *" $used "* ]]; then
      echo "core/$room includes core/$used, which is not below it:"
      grep -n "#include \"core/$used/" "$core/$room"/*.h "$core/$room"/*.cpp
      status=1
    fi
  done
done
if grep -rn -E '#include <Q|#include "Q' "$core"; then
  echo "core includes Qt"
  status=1
fi
exit $status
