#!/usr/bin/env bash
# Installs what building, testing and packaging Vorta needs on Debian 12, then configures and
# builds.
# Usage: scripts/setup.sh [build-dir]   (default: build)
#        scripts/setup.sh --install-only
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

packages=(
  build-essential cmake
  qt6-base-dev
  libgtest-dev
  clang libclang-rt-14-dev
  fonts-liberation2 fonts-dejavu-core
  # An X server for the caption test, and xcb to read the captions it holds.
  xvfb xauth libxcb1-dev
  # Vectorised elementary functions for the solver; Google Benchmark for bench/.
  libsleef-dev libbenchmark-dev
  # The whole-process figures in bench/: hyperfine times, numpy is the peer solver.
  hyperfine python3-numpy
  # vorta-run's command line and JSON; XFOIL, a panel code, reads its coordinate files in a test.
  libcli11-dev nlohmann-json3-dev xfoil python3
  # Eigen's Levenberg-Marquardt fits a section to a contour's points (vorta-run --fit).
  libeigen3-dev
  # Figures: Qt's SVG drawing; the tests check the SVG with xmllint and rasterise the PDF.
  qt6-svg-dev libxml2-utils poppler-utils
  # The Debian package (scripts/package.sh and its test): the manual page from --help, and
  # the checks of the package, its desktop entry and its AppStream entry.
  help2man lintian desktop-file-utils appstream
  # CGNS grid files are written with the CGNS library; cgnscheck (cgns-convert) checks them in a
  # test, and meshio reads the VTK grid files back.
  libcgns-dev cgns-convert python3-meshio
  # The Python module: pybind11 and the interpreter's headers build it, pytest and matplotlib
  # (the README's example) test it.
  pybind11-dev python3-dev python3-pytest python3-matplotlib
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ "$build_dir" = "--install-only" ] && exit 0

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j "$(nproc)"
