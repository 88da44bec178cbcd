#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz (or $FUZZ_DIR) and runs
# each for SECONDS (default 60), one after another, starting from its seeds in
# fuzz/seeds/NAME/. New inputs gather in FUZZ_DIR/corpus/NAME (the seeds in
# the repository stay as they are); a crash, a sanitizer report, a leak or a
# hang (an input running over 10 s) stops that fuzzer, leaves the input in
# FUZZ_DIR/artifacts/NAME/ and makes the script fail. The last line counts
# the fuzzers that passed and failed.
#   scripts/fuzz.sh [SECONDS] [NAME...]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
dir=${FUZZ_DIR:-build-fuzz}
jobs=${FUZZ_BUILD_JOBS:-2}
export QT_QPA_PLATFORM=offscreen

mkdir -p "$dir"
echo "== building the fuzzers in $dir" >&2
if ! CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEMS_FUZZ=ON \
    -DEMS_TESTS=OFF -DEMS_BENCH=OFF ${FUZZ_CMAKE_ARGS:-} >"$dir/fuzz-configure.log" 2>&1; then
  cat "$dir/fuzz-configure.log"; echo "0 passed, 1 failed"; exit 1
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for src in fuzz/*_fuzz.cpp; do n=$(basename "$src" .cpp); names+=("${n%_fuzz}"); done
fi
targets=()
for n in "${names[@]}"; do targets+=("${n}_fuzz"); done
if ! cmake --build "$dir" -j "$jobs" --target "${targets[@]}" >"$dir/fuzz-build.log" 2>&1; then
  tail -40 "$dir/fuzz-build.log"; echo "0 passed, 1 failed"; exit 1
fi

passed=0
failed=0
for n in "${names[@]}"; do
  corpus="$dir/corpus/$n" artifacts="$dir/artifacts/$n"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [ -d "fuzz/seeds/$n" ] && seeds=("fuzz/seeds/$n")
  [ ${#seeds[@]} -eq 0 ] && echo "warning: no seeds for $n" >&2
  echo "== $n for ${seconds}s" >&2
  log="$dir/$n.log"
  # The Qt host keeps its own allocations to the end; leaks count only where Qt is not linked.
  leaks=1
  case $n in host_port|scenario_run) leaks=0 ;; esac
  if ASAN_OPTIONS=detect_leaks=$leaks UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$dir/fuzz/${n}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "   $(grep -E '^#[0-9]+.*DONE' "$log" | tail -1 || true) $(grep -E 'stat::number_of_executed_units' "$log")" >&2
  else
    failed=$((failed + 1))
    tail -60 "$log"
    echo "$n failed: see $log and $artifacts/" >&2
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
