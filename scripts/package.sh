#!/usr/bin/env bash
# Builds the Debian package vorta_<version>_<arch>.deb with CPack, in a Release build of its own
# with Debian's hardening flags, and checks it: lintian, desktop-file-validate and appstreamcli
# report no error. Prints the package's path last.
# Usage: scripts/package.sh [build-dir]   (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-package}
scripts/setup.sh --install-only

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DVORTA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
rm -f "$build_dir"/vorta_*.deb
(cd "$build_dir" && cpack >/dev/null)
deb=$(ls "$build_dir"/vorta_*.deb)

lintian --fail-on error "$deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/vorta.desktop"
# Warnings (the id is no reverse domain name, for want of a domain) are said, not fatal.
if appstreamcli validate --no-net "$unpacked/usr/share/metainfo/vorta.metainfo.xml" | grep '^E:'; then
  exit 1
fi
echo "$deb"
