#!/usr/bin/env bash
# Installs the Debian 12 packages the simulator and its tests need. Idempotent:
# packages already present are not touched; runs apt-get through sudo when not root.
# With --tests also what only the tests use: gpsd and gpsfake (gpsd-clients),
# which a test starts on a free port of its own.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl-dev
  # the flight-data viewer; Qt Charts' CMake files need Qt6OpenGL, which its package does not pull in
  qt6-charts-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev fonts-dejavu-core
  xvfb xauth socat
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream
)
test_packages=(gpsd gpsd-clients)
[ "${1:-}" = "--tests" ] && packages+=("${test_packages[@]}")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
# Installing gpsd enables its system service and socket (gpsd on port 2947 for
# any program that connects). The tests start their own gpsd and need neither:
# when this script brought gpsd, it leaves them stopped and disabled.
if [[ " ${missing[*]} " == *" gpsd "* ]] && command -v systemctl >/dev/null && [ -d /run/systemd/system ]; then
  "${sudo_cmd[@]}" systemctl disable --now gpsd.socket gpsd.service || true
fi
