#!/usr/bin/env bash
# Renders the main window after a pick from the sample catalog into docs/vorta-window.png,
# off screen, with the fonts the machine has.
# Usage: scripts/screenshot.sh [build-dir] [entry] [angle]   (defaults: build 12 4)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
entry=${2:-12}
angle=${3:-4}
cmake --build "$build_dir" --target vorta-screenshot >/dev/null
QT_QPA_PLATFORM=offscreen "$build_dir/bin/vorta-screenshot" examples docs/vorta-window.png "$entry" "$angle"
echo "wrote docs/vorta-window.png"
