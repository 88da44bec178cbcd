#!/usr/bin/env bash
# Builds the Debian package of the simulator (CPack) in a build folder, into
# BUILD_DIR/package; its run-time dependencies come from dpkg-shlibdeps.
#   scripts/package.sh [--check] [BUILD_DIR]     (BUILD_DIR: build)
# With --check it then unpacks the package into a scratch folder
# (dpkg-deb -x) and runs the unpacked program's --version and an example
# scenario on Qt's offscreen platform, with an empty home; the last line is
# "N passed, N failed" (one check).
set -uo pipefail
check=0
[ "${1:-}" = "--check" ] && { check=1; shift; }
dir=${1:-build}
cd "$(dirname "$0")/.."
result() { echo "$1"; [ "$1" = "1 passed, 0 failed" ]; exit $?; }
failed() { echo "package: $*" >&2; result "0 passed, 1 failed"; }

if [ ! -f "$dir/CMakeCache.txt" ]; then
  scripts/deps.sh || failed "dependency installation failed"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || failed "configure failed"
fi
cmake --build "$dir" -j "${PACKAGE_BUILD_JOBS:-2}" --target sorvik-ems man_page >/dev/null || failed "build failed"
rm -f "$dir"/package/sorvik-ems_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log"; failed "cpack failed"; }
deb=$(ls "$dir"/package/sorvik-ems_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || failed "no package in $dir/package"
echo "built $deb" >&2
[ "$check" -eq 1 ] || exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || failed "the package does not depend on Qt: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -x "$deb" "$scratch/root" || failed "cannot unpack $deb"
exe=$scratch/root/usr/bin/sorvik-ems
mkdir -p "$scratch/home" "$scratch/run"
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share XDG_CONFIG_HOME=$scratch/home/.config
export QT_QPA_PLATFORM=offscreen
version=$("$exe" --version 2>/dev/null) || failed "--version failed"
grep -q "$(sed -nE 's/^project\(sorvik_ems VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)" <<<"$version" ||
  failed "--version says $version"
{ cat "$scratch/root/usr/share/sorvik-ems/examples/first_flight.scn"; echo quit; } >"$scratch/first_flight.scn"
(cd "$scratch/run" && timeout -k 10 120 "$exe" --script "$scratch/first_flight.scn") ||
  failed "the example scenario failed in the unpacked program"
[ -f "$XDG_DATA_HOME/sorvik-ems/SDCARD/SPLASH.MIF" ] || failed "the unpacked program did not seed its card"
result "1 passed, 0 failed"
