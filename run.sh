#!/usr/bin/env bash
# Installs what is missing, builds, and opens Vorta on the sample catalog in examples/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build >/dev/null
cd examples
exec ../build/bin/vorta "$@"
