#!/usr/bin/env bash
# Builds the libFuzzer harnesses (tests/fuzz/) with clang into build-fuzz/ and runs each for
# FUZZ_SECONDS (default 30), two at a time. Each starts from its seeds (tests/fuzz/seeds/NAME,
# the short replays for the replay parser) and every case found before (tests/fuzz/found/NAME), in a
# scratch corpus, so the repository is never written. A crash, a hang, a sanitizer report or a
# broken check fails the run; the input that did it is kept under build-fuzz/findings/NAME/ (put
# it in tests/fuzz/found/NAME/ with a telling name once fixed: the unit suite replays them).
# FUZZ_SEED fixes libFuzzer's seed (default 0, a new one each run). Arguments name the
# harnesses to run (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
seed=${FUZZ_SEED:-0}  # 0: a new random seed every run
cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > build-fuzz-configure.log || { cat build-fuzz-configure.log; exit 1; }
rm -f build-fuzz-configure.log
cmake --build build-fuzz -j "$(nproc)"

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for seeds in tests/fuzz/seeds/*/; do
    harnesses+=("$(basename "$seeds")")
  done
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

run_one() {
  local name=$1 corpus=$scratch/$1 findings=build-fuzz/findings/$1
  mkdir -p "$corpus" "$findings"
  cp tests/fuzz/seeds/"$name"/* "$corpus"/
  if [ -d tests/fuzz/found/"$name" ]; then
    cp tests/fuzz/found/"$name"/* "$corpus"/ 2>/dev/null || true
  fi
  if [ "$name" = replay ]; then
    # The long ones would only be cut at -max_len and slow every run down.
    find replays -name '*.replay' -size -16k -exec cp {} "$corpus"/ \;
  fi
  # Long enough inputs to reach the replay parser's line-length limit.
  if build-fuzz/fuzz-"$name" -seed="$seed" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings"/ "$corpus" \
      > "$scratch/$name.log" 2>&1; then
    echo "fuzz: $name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$name.log" \
      | grep -o '[0-9]*$') runs in ${seconds} s, nothing found"
  else
    echo "fuzz: $name: the fuzzer found an input that fails (kept in $findings):"
    grep -E 'broke a check|ERROR|SUMMARY' "$scratch/$name.log" | head -5
    return 1
  fi
}

failed=0
pids=()
for name in "${harnesses[@]}"; do
  run_one "$name" & pids+=($!)
  if [ ${#pids[@]} -ge 2 ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
exit $failed
