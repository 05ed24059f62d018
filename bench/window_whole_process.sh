#!/usr/bin/env bash
# Times whole processes that show one window and quit as soon as it is painted: an empty
# QMainWindow ("bare") and one with a line of text ("label", which loads a font as any window
# with text does) against the main window with a 50-entry catalog ("vorta"). Runs under a real
# X server (Xvfb, what users see) and off screen, 10 runs each with hyperfine, and prints the
# ratios vorta / bare and vorta / label of the medians. Several build directories are timed in
# the same run, so two builds compare under the same load.
# Usage: bench/window_whole_process.sh [build-dir ...]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=("$root/build")
runs=10

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  printf '1\r\n0\r\n'
  for i in $(seq 1 50); do printf '0.1,0.1,0.3,9,0.%02d,0.1,1.9\r\n' "$i"; done
} >"$work/VORTA_Input.txt"
cd "$work"

# Prints the median wall time of each command of a hyperfine JSON export and vorta / bare, and
# the same ratio of the mean CPU time (user + system), which other load on the machine
# disturbs less.
report() {
  python3 - "$1" "$2" "$3" <<'EOF'
import json, sys
path, platform, build = sys.argv[1:]
results = {r["command"].split()[-1]: r for r in json.load(open(path))["results"]}
bare, label, vorta = results["bare"], results["label"], results["vorta"]
cpu = lambda r: r["user"] + r["system"]
print(f"{platform:9} {build}: bare {bare['median'] * 1e3:6.1f} ms, label {label['median'] * 1e3:6.1f} ms,"
      f" vorta {vorta['median'] * 1e3:6.1f} ms; vorta / bare = {vorta['median'] / bare['median']:.2f},"
      f" vorta / label = {vorta['median'] / label['median']:.2f}")
print(f"{'':9} {' ' * len(build)}  CPU time: bare {cpu(bare) * 1e3:5.1f} ms, label {cpu(label) * 1e3:5.1f} ms,"
      f" vorta {cpu(vorta) * 1e3:5.1f} ms; vorta / bare = {cpu(vorta) / cpu(bare):.2f},"
      f" vorta / label = {cpu(vorta) / cpu(label):.2f}")
EOF
}

time_build() {
  local platform=$1 build=$2 program
  program=$(cd "$build" && pwd)/bin/window-startup
  [ -x "$program" ] || { echo "no $program: build the window-startup target" >&2; exit 1; }
  local json="$work/$platform-${RANDOM}.json"
  local hyperfine=(hyperfine --shell=none --style none --warmup 2 --runs "$runs" --export-json "$json"
                   "$program bare" "$program label" "$program vorta")
  if [ "$platform" = xcb ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "${hyperfine[@]}" >/dev/null
  else
    QT_QPA_PLATFORM=offscreen "${hyperfine[@]}" >/dev/null
  fi
  report "$json" "$platform" "$build"
}

for platform in xcb offscreen; do
  for build in "${builds[@]}"; do time_build "$platform" "$build"; done
done
