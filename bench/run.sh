#!/usr/bin/env bash
# Start-up time (process start to the first frame) and mean frame time of the game in a
# 1024x768 window under Xvfb on Mesa's llvmpipe, each also as a ratio to the same binary
# drawing empty frames (--empty-frames: clear and swap only).
#
# Usage: bench/run.sh [path/to/orbquest]          (default: build/orbquest)
# Environment: RUNS (default 3), FEW and MANY game frames per run (10, 60), and
# EMPTY_MANY empty frames (1000). A run of MANY frames less a run of FEW frames leaves the
# time of the extra frames alone: start-up and teardown cancel out.
set -euo pipefail
export LC_ALL=C  # EPOCHREALTIME and awk both with a decimal point

self=$(realpath "$0")
binary=$(realpath "${1:-$(dirname "$self")/../build/orbquest}")
runs=${RUNS:-3}
few=${FEW:-10}
many=${MANY:-60}
empty_many=${EMPTY_MANY:-1000}

if [ -z "${ORBQUEST_BENCH_XVFB:-}" ]; then
  export ORBQUEST_BENCH_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$binary"
fi
export LIBGL_ALWAYS_SOFTWARE=1
cd "$(dirname "$self")/.."  # the game finds its assets from the repository root

# Runs the game once with the given options and prints two numbers: seconds from the start of
# the process to the welcome line (printed right before the first frame), and seconds from
# there to the end of the process.
run_once() {
  local start welcome="" line
  start=$EPOCHREALTIME
  while IFS= read -r line; do
    if [ -z "$welcome" ] && [ "$line" = "Welcome to >>Orbquest<<" ]; then
      welcome=$EPOCHREALTIME
    fi
  done < <("$binary" "$@" 2>&1)
  local end=$EPOCHREALTIME
  if ! wait $! || [ -z "$welcome" ]; then
    echo "bench: orbquest $* failed" >&2
    exit 1
  fi
  awk -v s="$start" -v w="$welcome" -v e="$end" 'BEGIN { printf "%.6f %.6f\n", w - s, e - w }'
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Prints the median start-up and the median frame time, in seconds, of one kind of run.
measure() {
  local low=$1 high=$2
  shift 2
  local startups="" frames="" r a_start a_loop b_start b_loop
  for ((r = 0; r < runs; ++r)); do
    read -r a_start a_loop < <(run_once --frames "$low" "$@")
    read -r b_start b_loop < <(run_once --frames "$high" "$@")
    startups+="$a_start"$'\n'"$b_start"$'\n'
    frames+=$(awk -v a="$a_loop" -v b="$b_loop" -v n=$((high - low)) \
      'BEGIN { printf "%.6f", (b - a) / n }')$'\n'
  done
  echo "$(printf '%s' "$startups" | median) $(printf '%s' "$frames" | median)"
}

mesa=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL core profile version string: //p')
renderer=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p')
cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)
echo "Machine: $(nproc) CPUs ($cpu); $renderer; OpenGL $mesa"
echo "Runs: $runs; game frames $few and $many, empty frames $few and $empty_many"

read -r game_start game_frame < <(measure "$few" "$many")
read -r empty_start empty_frame < <(measure "$few" "$empty_many" --empty-frames)

awk -v gs="$game_start" -v gf="$game_frame" -v es="$empty_start" -v ef="$empty_frame" 'BEGIN {
  printf "%-26s %12s %14s %8s\n", "", "game", "empty frames", "ratio"
  printf "%-26s %10.3f s %12.3f s %8.1f\n", "start-up to first frame", gs, es, gs / es
  printf "%-26s %9.2f ms %11.2f ms %8.1f\n", "mean frame time", gf * 1000, ef * 1000, gf / ef
}'
