#!/usr/bin/env bash
# Plays random scenario scripts (sorvik-monkey) against the simulator built
# with AddressSanitizer and UndefinedBehaviorSanitizer, for MINUTES (default
# 20), each on a fresh copy of assets/SDCARD. A crash, a sanitizer report, a
# refused script line or a hang (a script running over $MONKEY_TIMEOUT s,
# default 300) fails it; the script and its output stay in
# MONKEY_DIR/monkey/ (build-asan by default) for replay with
#   sorvik-ems --script FILE
# Passing scripts are removed. Seeds follow on from $MONKEY_SEED (default: the
# time). The last line counts the scripts that passed and failed.
#   scripts/monkey.sh [MINUTES]
set -uo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-20}
dir=${MONKEY_DIR:-build-asan}
steps=${MONKEY_STEPS:-400}
limit=${MONKEY_TIMEOUT:-300}
seed=${MONKEY_SEED:-$(date +%s)}
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

mkdir -p "$dir"
if [ -z "${MONKEY_NO_BUILD:-}" ]; then
  echo "== building the sanitizer build in $dir" >&2
  if ! cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEMS_SANITIZE=ON -DEMS_BENCH=OFF \
      >"$dir/monkey-configure.log" 2>&1 ||
     ! cmake --build "$dir" -j "${MONKEY_BUILD_JOBS:-2}" --target sorvik-ems sorvik-monkey \
      >"$dir/monkey-build.log" 2>&1; then
    tail -40 "$dir/monkey-configure.log" "$dir/monkey-build.log" 2>/dev/null
    echo "0 passed, 1 failed"; exit 1
  fi
fi
exe="$(cd "$dir" && pwd)/sorvik-ems"
out="$(cd "$dir" && pwd)/monkey"
mkdir -p "$out"
assets="$(pwd)/assets/SDCARD"
# The recordings the scripts play through the FlightGear link and open in the viewer.
cp examples/flightgear_flight.csv examples/sample_flight.csv "$out/"

passed=0
failed=0
end=$((SECONDS + minutes * 60))
while [ $((passed + failed)) -eq 0 ] || [ $SECONDS -lt $end ]; do # at least one script
  script="$out/monkey-$seed.scn" log="$out/monkey-$seed.log"
  if ! "$dir/sorvik-monkey" "$seed" "$steps" >"$script" 2>"$log"; then
    cat "$log"; failed=$((failed + 1)); break
  fi
  work=$(mktemp -d)
  cp -r "$assets" "$work/SDCARD"
  (cd "$work" && timeout -k 10 "$limit" "$exe" --script "$script") >>"$log" 2>&1
  rc=$?
  rm -rf "$work"
  if [ $rc -eq 0 ] && ! grep -qE 'Sanitizer|runtime error:' "$log"; then
    passed=$((passed + 1))
    rm -f "$script" "$log"
  else
    failed=$((failed + 1))
    [ $rc -eq 124 ] && echo "hang: over ${limit}s" >>"$log"
    tail -40 "$log"
    echo "monkey script failed (status $rc): $script (output in $log)" >&2
  fi
  seed=$((seed + 1))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
