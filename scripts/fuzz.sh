#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each one, starting from the seed corpora in fuzz/corpus. An input that makes a
# target fail is kept in build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds per target, default 20] [extra libFuzzer flags, e.g. -runs=10000000]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
extra=("$@")

CXX=clang++ cmake -S . -B build-fuzz -DVORTA_FUZZ=ON -DVORTA_BUILD_UI=OFF -DVORTA_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/artifacts

run() {  # target, seed corpus
  local target=$1 seeds=$2
  mkdir -p "$work/$target"
  echo "fuzzing $target for at most ${seconds}s"
  if ! "build-fuzz/bin/$target" -max_total_time="$seconds" -artifact_prefix=build-fuzz/artifacts/ \
      "${extra[@]}" "$work/$target" "fuzz/corpus/$seeds" >"$work/$target.log" 2>&1; then
    tail -n 40 "$work/$target.log"
    echo "$target failed; the input is in build-fuzz/artifacts/"
    return 1
  fi
  grep -E '^Done [0-9]+ runs' "$work/$target.log"
}

run fuzz_catalog catalog
run fuzz_field_number field_number
run fuzz_calculation calculation
run fuzz_result_file calculation
run fuzz_pressure_table pressure_table
run fuzz_field_table field_table
