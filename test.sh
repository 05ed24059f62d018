#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. fuzzes each libFuzzer target for 20 s (scripts/fuzz.sh),
#   2. builds and runs the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer
#      with warnings as errors (build-sanitize/), so that any report fails,
#   3. runs the whole suite in the ordinary build (build/).
# ./test.sh --quick runs step 3 alone.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build

if [ "${1:-}" != "--quick" ]; then
  scripts/fuzz.sh 20
  cmake -S . -B build-sanitize -DVORTA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build-sanitize -j "$(nproc)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
    ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
fi

ctest --test-dir build --output-on-failure -j "$(nproc)"
