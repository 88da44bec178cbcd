#!/usr/bin/env bash
# Builds the simulator and starts it with a working copy of the sample SD card
# (in ~/.local/share/sorvik-ems, so saving settings never touches the repository).
# Arguments are passed to the simulator (for example --script FILE).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
"$repo/scripts/deps.sh"
cmake -S "$repo" -B "$repo/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$repo/build" --target sorvik-ems -j "$(nproc 2>/dev/null || echo 2)"
work="${SORVIK_WORKDIR:-${XDG_DATA_HOME:-$HOME/.local/share}/sorvik-ems}"
mkdir -p "$work/SDCARD"
# Bring in the sample card's files without overwriting what the user already has.
cp -rn "$repo/assets/SDCARD/." "$work/SDCARD/" 2>/dev/null || true
scripts_abs=()
for a in "$@"; do
  if [ -f "$a" ]; then scripts_abs+=("$(cd "$(dirname "$a")" && pwd)/$(basename "$a")"); else scripts_abs+=("$a"); fi
done
cd "$work"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under a virtual X server (xvfb-run)."
  exec xvfb-run -a "$repo/build/sorvik-ems" "${scripts_abs[@]}"
fi
exec "$repo/build/sorvik-ems" "${scripts_abs[@]}"
