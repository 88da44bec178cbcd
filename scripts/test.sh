#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build, then one with
# AddressSanitizer and UndefinedBehaviorSanitizer. GUI tests run on Qt's
# offscreen platform. Every build treats compiler warnings as errors. Random
# scenario scripts (scripts/monkey.sh) run for a minute against the sanitized
# build, and every fuzzer for 10 s (scripts/fuzz.sh, built with clang). The
# normal build also builds the generators, and the generated sources are
# regenerated and compared with the commit (one suite), and so are the user
# guide's pictures, made twice (one suite); the Debian package is
# built from it, unpacked and started (one suite). The firmware tests of the
# normal build also run as one shuffled process (one suite). The receive thread's
# hand-over and the live window run once more under ThreadSanitizer. The last
# line is the total "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests || { echo "dependency installation failed"; echo "0 passed, 1 failed"; exit 1; }
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0

# With a filter only the targets in SUITE_TARGETS (default firmware_tests) are built.
run_suite() { # name, build dir, test filter (empty: all), extra cmake args...
  local name=$1 dir=$2 filter=$3
  shift 3
  built=0
  echo "== $name build ($dir)"
  if ! cmake -S . -B "$dir" -G Ninja -DEMS_WERROR=ON "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; failed=$((failed + 1)); return
  fi
  local targets=()
  # shellcheck disable=SC2206 # a list of target names
  [ -n "$filter" ] && targets=(--target ${SUITE_TARGETS:-firmware_tests})
  if ! cmake --build "$dir" -j "$jobs" "${targets[@]}"; then
    echo "$name build failed"; failed=$((failed + 1)); return
  fi
  built=1
  echo "== $name tests"
  local log="$dir/ctest.log"
  local select=()
  [ -n "$filter" ] && select=(-R "$filter")
  local launch=()
  # ThreadSanitizer needs a fixed memory layout on kernels with wide address randomisation.
  [ "$name" = "thread-sanitized hand-over" ] && setarch "$(uname -m)" -R true 2>/dev/null && launch=(setarch "$(uname -m)" -R)
  "${launch[@]}" ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 300 "${select[@]}" 2>&1 | tee "$log"
  local line p t
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  t=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  f=$(sed -E 's/.*tests passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + t - f))
  failed=$((failed + f))
}

# Regenerates every generated source in place with the generators of a build
# configured with -DEMS_TOOLS=ON; any difference from the commit fails.
check_generated() { # build dir
  local dir=$1 paths=()
  echo "== generated sources"
  if ! mapfile -t paths <"$dir/generated_paths.txt" || [ ${#paths[@]} -eq 0 ]; then
    echo "no list of generated sources in $dir"; failed=$((failed + 1)); return
  fi
  if ! cmake --build "$dir" -j "$jobs" --target regenerate; then
    echo "regeneration failed"; failed=$((failed + 1)); return
  fi
  local changes
  if ! changes=$(git status --porcelain -- "${paths[@]}") || [ -n "$changes" ]; then
    echo "$changes"; git diff --stat -- "${paths[@]}"
    echo "generated sources differ from what their generators make"; failed=$((failed + 1)); return
  fi
  passed=$((passed + 1))
}

# The user guide's pictures are made twice by the docs target; each run must
# leave docs/images as committed, so the pictures are reproducible byte for
# byte and up to date (one suite).
check_pictures() { # build dir
  local dir=$1 run changes
  echo "== user guide pictures, twice"
  for run in 1 2; do
    if ! cmake --build "$dir" --target docs >"$dir/docs.log" 2>&1; then
      cat "$dir/docs.log"; echo "the docs target failed (run $run)"; failed=$((failed + 1)); return
    fi
    if ! changes=$(git status --porcelain -- docs/images) || [ -n "$changes" ]; then
      echo "$changes"; echo "run $run of the docs target changed the committed pictures"; failed=$((failed + 1)); return
    fi
  done
  passed=$((passed + 1))
}

# ctest runs every test in a process of its own; the firmware tests run once
# more as one process in a shuffled order (one suite), so a test that passes
# only on another's leftovers, or only on a fresh process, fails. The seed is
# printed, and SHUFFLE_SEED repeats an order.
run_shuffled() { # build dir
  local dir=$1 seed=${SHUFFLE_SEED:-$((RANDOM % 100000 + 1))}
  echo "== firmware tests as one shuffled process (seed $seed)"
  if "$dir/tests/firmware_tests" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1; then
    passed=$((passed + 1))
  else
    echo "the shuffled firmware tests failed; SHUFFLE_SEED=$seed repeats the order"; failed=$((failed + 1))
  fi
}

mkdir -p build build-asan build-tsan build-fuzz
run_suite "normal" build "" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEMS_TOOLS=ON
normal_built=$built
[ "$built" -eq 1 ] && check_generated build
[ "$built" -eq 1 ] && check_pictures build
[ "$built" -eq 1 ] && run_shuffled build
ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite "sanitized" build-asan "" -DCMAKE_BUILD_TYPE=Debug -DEMS_SANITIZE=ON -DEMS_BENCH=OFF
# Random scenario scripts against the sanitized window for a minute.
run_counted() { # name, command...: a script whose last line is "N passed, N failed" counts as one suite
  local name=$1 line
  shift
  echo "== $name"
  line=$("$@" 2>&1 | tee /dev/stderr | tail -1)
  if [[ $line =~ ^[0-9]+\ passed,\ 0\ failed$ ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}
# The Debian package from the normal build, unpacked and started (one suite).
[ "$normal_built" -eq 1 ] && PACKAGE_BUILD_JOBS=$jobs run_counted "package" scripts/package.sh --check build
[ "$built" -eq 1 ] && MONKEY_NO_BUILD=1 MONKEY_DIR=build-asan MONKEY_BUILD_JOBS=$jobs run_counted "monkey" scripts/monkey.sh 1
# Every fuzzer briefly from its seeds, so that a broken fuzzer or a shallow crash fails.
FUZZ_BUILD_JOBS=$jobs FUZZ_CMAKE_ARGS=-DEMS_WERROR=ON run_counted "fuzzers" scripts/fuzz.sh 10
# The receive thread's hand-over to the main loop, under ThreadSanitizer: the
# firmware's hand-over tests, and the live window fed by a pseudo-terminal and
# UDP (its suppressions of Qt's own calls come with the test, tests/tsan.supp).
TSAN_OPTIONS=halt_on_error=1 SUITE_TARGETS="firmware_tests live_feed_tests" \
  run_suite "thread-sanitized hand-over" build-tsan "HandOver|NmeaRx|LiveFeed" -DCMAKE_BUILD_TYPE=Debug -DEMS_TSAN=ON -DEMS_BENCH=OFF
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
