#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a virtual X server; then runs
# the unit and GL suites once more from a second build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and fuzzes the parsers (scripts/fuzz.sh). Fails too when a C++
# file does not follow .clang-format; that is checked first and reported at once, but the tests
# still run. Arguments go to the first ctest run.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each step says how long it took, so a slow CI run shows where its time went.
step() {
  echo "test: $1 took $((SECONDS - step_start)) s (${SECONDS} s in all)"
  step_start=$SECONDS
}
step_start=$SECONDS
scripts/install-deps.sh
step "installing"
formatted=true
scripts/check-format.sh || formatted=false
scripts/build.sh
step "building"
# One Xvfb for the whole run; the tests that draw or start the game use it, side by side. Many
# of them wait on a game window rather than compute, so more run at once than there are cores;
# the tests that cannot share the display or the build folder say so in tests/CMakeLists.txt.
jobs=$(($(nproc) * 2))
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir build --output-on-failure --timeout 600 -j "$jobs" "$@"
step "testing"

# Warnings are the first build's business: GCC warns falsely about some library code when
# sanitizers instrument it. Optimised less and with line tables only, this build compiles in
# about half the time, and its reports still name the file and line.
cmake -S . -B build-sanitize -DORBQUEST_SANITIZE=ON -DORBQUEST_WERROR=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  > build-sanitize-configure.log || { cat build-sanitize-configure.log; exit 1; }
rm -f build-sanitize-configure.log
cmake --build build-sanitize -j "$(nproc)" --target orbquest_unit_tests orbquest_gl_tests
step "building with the sanitizers"
# Leak checking is on too: the suites run clean with Mesa's llvmpipe, nothing suppressed. The
# autopilot's two runs through the whole level stay out: under the sanitizers they took over
# half of this step (160 s), repeating code that the shorter tests already run.
sanitized_ctest() {
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build-sanitize --output-on-failure --timeout 600 -j "$jobs" "$@"
}
# What one test printed in the last sanitized run, from ctest's log of it.
sanitized_output() {
  awk -v name="$1" '
    !inside && match($0, /^[0-9]+\/[0-9]+ Test: /) && substr($0, RLENGTH + 1) == name { inside = 1 }
    inside { print }
    inside && index($0, "\"" name "\" end time:") == 1 { inside = 0 }
  ' build-sanitize/Testing/Temporary/LastTest.log
}
# LeakSanitizer's own tracer now and then crashes at exit while Mesa's threads wind down
# ("Tracer caught signal 11"), after a test that passed. Only tests that failed that way run
# once more; any other failure fails the run at once.
if ! sanitized_ctest -L '^(unit|gl)$' \
  -E '^Autopilot\.(WinsTheLevelAtAnyFrameRate|TheCommittedReplayIsItsWinAndWinsWhenPlayed)$'; then
  while IFS= read -r failed; do
    name=${failed#*:}
    if ! sanitized_output "$name" | grep -q "Tracer caught signal"; then
      echo "test: $name failed under the sanitizers"
      exit 1
    fi
    echo "test: $name failed as LeakSanitizer's tracer crashed; it runs again"
  done < build-sanitize/Testing/Temporary/LastTestsFailed.log
  sanitized_ctest --rerun-failed
fi
step "testing with the sanitizers"

# The parsers a player can feed, each fuzzed for a bounded time by libFuzzer, from a fixed seed
# so that a run goes the same way every time (scripts/fuzz.sh alone explores anew each run).
FUZZ_SECONDS=${FUZZ_SECONDS:-20} FUZZ_SEED=${FUZZ_SEED:-1} scripts/fuzz.sh
step "fuzzing"

if [ "$formatted" = false ]; then
  echo "test: every test passed, but the C++ files listed at the start are not formatted"
  exit 1
fi
