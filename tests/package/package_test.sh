#!/usr/bin/env bash
# The Debian package as a user gets it: CPack builds it from this build, dpkg-deb unpacks it
# into a temporary folder, and vorta-run runs from there as the build's own does; lintian,
# desktop-file-validate and appstreamcli, where installed, report no error; and the menu's
# launcher makes ~/Vorta with the sample catalog on the first start only.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR VORTA_RUN
# Exits with 77 (skipped), saying why, where a tool that builds the package is not installed.
set -euo pipefail
build=$1 source=$2 vorta_run=$3
for tool in dpkg-deb dpkg-shlibdeps cpack; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (Debian packages dpkg, dpkg-dev, cmake)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# gzip rather than the package's xz: the same files, packed in a third of the time.
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip \
  >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
version=$("$vorta_run" --version | sed 's/^vorta-run //')
deb="$work/cpack/vorta_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { fail "no $deb among: $(ls "$work/cpack")"; exit 1; }
root="$work/root"
dpkg-deb -x "$deb" "$root"

expected=(usr/bin/vorta usr/bin/vorta-run usr/bin/vorta-launch usr/share/applications/vorta.desktop
          usr/share/icons/hicolor/scalable/apps/vorta.svg usr/share/metainfo/vorta.metainfo.xml
          usr/share/vorta/VORTA_Input.txt usr/share/doc/vorta/copyright usr/share/doc/vorta/changelog.gz
          usr/share/man/man1/vorta.1.gz usr/share/man/man1/vorta-launch.1.gz)
command -v help2man >/dev/null && expected+=(usr/share/man/man1/vorta-run.1.gz)
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "the package has no $file"
done
cmp -s "$root/usr/share/vorta/VORTA_Input.txt" "$source/examples/VORTA_Input.txt" || fail "the sample catalog differs"
grep -q "^License: Expat" "$root/usr/share/doc/vorta/copyright" || fail "the copyright file names no licence"
if command -v xmllint >/dev/null; then
  xmllint --noout "$root/usr/share/icons/hicolor/scalable/apps/vorta.svg" || fail "the icon is no well-formed SVG"
fi
grep -q "Exec=vorta-launch" "$root/usr/share/applications/vorta.desktop" || fail "the menu does not start the launcher"

# vorta-run from the package: its version, a calculation of the sample catalog as the build's
# own program does it, and a figure.
packaged="$root/usr/bin/vorta-run"
[ "$("$packaged" --version)" = "vorta-run $version" ] || fail "vorta-run --version: $("$packaged" --version)"
catalog=(--input "$root/usr/share/vorta/VORTA_Input.txt" --entry 3 --alpha 4 --format csv)
cd "$work"
if ! "$packaged" "${catalog[@]}" >packaged.csv || ! "$vorta_run" "${catalog[@]}" >built.csv; then
  fail "the calculation did not run"
fi
[ "$(wc -l <packaged.csv)" -eq 52 ] && cmp -s packaged.csv built.csv || fail "the packaged vorta-run calculates otherwise"
env -u DISPLAY "$packaged" --input "$root/usr/share/vorta/VORTA_Input.txt" --entry 3 --plot cp --output cp.svg ||
  fail "the packaged vorta-run draws no figure"
grep -q "<svg" cp.svg || fail "the figure is no SVG"

# The checks of the package and its entries, where they are installed.
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"
else
  echo "lintian is not installed: the package is not checked by it"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/vorta.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  ! appstreamcli validate --no-net "$root/usr/share/metainfo/vorta.metainfo.xml" | grep '^E:' ||
    fail "appstreamcli reports errors"
fi

# The launcher, with a vorta that only says where and how it was started.
mv "$root/usr/bin/vorta" "$root/usr/bin/vorta.real"
printf '#!/bin/sh\necho "$PWD" "$@" >"%s/started"\n' "$work" >"$root/usr/bin/vorta"
chmod +x "$root/usr/bin/vorta"
HOME="$work/home" "$root/usr/bin/vorta-launch" --flag || fail "the launcher failed"
[ "$(cat "$work/started")" = "$work/home/Vorta --flag" ] || fail "vorta started as: $(cat "$work/started")"
cmp -s "$work/home/Vorta/VORTA_Input.txt" "$source/examples/VORTA_Input.txt" || fail "no sample catalog in ~/Vorta"
echo "1" >"$work/home/Vorta/VORTA_Input.txt"
HOME="$work/home" "$root/usr/bin/vorta-launch" || fail "the launcher failed the second time"
[ "$(cat "$work/home/Vorta/VORTA_Input.txt")" = "1" ] || fail "the launcher replaced the user's catalog"

echo "package_test: $failures failures"
[ "$failures" -eq 0 ]
