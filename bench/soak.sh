#!/usr/bin/env bash
# Soak run: hours of game time through the real level with keys held, fast-forwarded, and the
# game's resident memory (VmRSS) from the welcome line to the end. Memory must stay flat.
#
# Usage: bench/soak.sh [path/to/orbquest]          (default: build/orbquest)
# Environment: HOURS of game time (default 4).
set -euo pipefail
export LC_ALL=C

self=$(realpath "$0")
binary=$(realpath "${1:-$(dirname "$self")/../build/orbquest}")
hours=${HOURS:-4}

if [ -z "${ORBQUEST_BENCH_XVFB:-}" ]; then
  export ORBQUEST_BENCH_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$binary"
fi
cd "$(dirname "$self")/.."  # the game finds its assets from the repository root

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One round of 12 s at 60 frames a second: forward and back again, a hop, the camera turned
# away and back, left and right, and the hotkeys' event path (F7 on and off). Every move is
# undone within the round, so the ball stays on the road however many rounds are played.
round='frames 120 dt 1/60 keys W cursor 512 384
frames 120 dt 1/60 keys S
frames 15 dt 1/60 keys SPACE
frames 135 dt 1/60
frames 60 dt 1/60 cursor 700 384
frames 60 dt 1/60 cursor 512 384
frames 60 dt 1/60 keys A
frames 60 dt 1/60 keys D
frames 60 dt 1/60
dt 1/60 press F7 release F7
frames 28 dt 1/60
dt 1/60 press F7 release F7'
frames_per_round=720
rounds=$((hours * 3600 / 12))

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true; }

# Plays ROUNDS rounds fast-forwarded, sampling the resident memory every 0.1 s from the welcome
# line on, and prints: wall seconds, then the first, middle, last and highest sample in KiB
# (the last may fall in the teardown).
run_soak() {
  local rounds=$1 replay="$work/soak-$1.replay" log="$work/game-$1.log" r
  for ((r = 0; r < rounds; ++r)); do
    printf '%s\n' "$round"
  done > "$replay"
  local start=$EPOCHREALTIME
  "$binary" --replay "$replay" --fast-forward --frames $((rounds * frames_per_round)) \
    > "$log" 2>&1 &
  local pid=$! samples=() now
  while kill -0 "$pid" 2>/dev/null; do
    if [ ${#samples[@]} -gt 0 ] || grep -q "Welcome to >>Orbquest<<" "$log"; then
      now=$(rss "$pid")
      [ -n "$now" ] && samples+=("$now")
    fi
    sleep 0.1
  done
  wait "$pid" || { echo "soak: the game failed" >&2; tail -n 20 "$log" >&2; exit 1; }
  local end=$EPOCHREALTIME
  if grep -q "You lost\|Congratulations" "$log"; then
    echo "soak: the game ended early, the replay no longer fits the level" >&2
    exit 1
  fi
  local peak=0 sample
  for sample in "${samples[@]}"; do
    ((sample > peak)) && peak=$sample
  done
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f ", e - s }'
  echo "${samples[0]} ${samples[$((${#samples[@]} / 2))]} ${samples[-1]} $peak"
}

mesa=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL core profile version string: //p')
echo "Machine: $(nproc) CPUs; OpenGL $mesa"
# A short run beside the long one. Both peak in the one frame they draw at the end (llvmpipe
# allocates its drawing memory then), so the ratio of their peaks is the long run's own growth.
read -r short_wall short_first _ _ short_peak < <(run_soak 10)
read -r wall first middle last peak < <(run_soak "$rounds")
[ -n "${short_peak:-}" ] && [ -n "${peak:-}" ] || { echo "soak: no figures"; exit 1; }
awk -v h="$hours" -v f=$((rounds * frames_per_round)) -v w="$wall" -v a="$first" -v m="$middle" \
    -v b="$last" -v p="$peak" -v sw="$short_wall" -v sa="$short_first" -v sp="$short_peak" 'BEGIN {
  mib = 1024
  printf "%-34s %8s %10s %10s %10s %10s\n", "", "wall", "first", "middle", "last", "peak"
  printf "%-34s %6.1f s %6.1f MiB %10s %10s %6.1f MiB\n", "2 min of game time", sw, sa / mib, "", "", sp / mib
  printf "%-34s %6.1f s %6.1f MiB %6.1f MiB %6.1f MiB %6.1f MiB\n", h " h of game time (" f " frames)", w, a / mib, m / mib, b / mib, p / mib
  printf "peak of the long run / peak of the short run: %.3f\n", p / sp
}'
