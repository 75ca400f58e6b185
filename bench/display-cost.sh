#!/usr/bin/env bash
# What the on-screen display costs a frame, measured within one run: the benchmark's two
# workloads with H pressed in every frame, so the display is shown in every other frame and
# hidden in the frames between, which the machine's load disturbs alike.
#
# Usage: bench/display-cost.sh [CHECKOUT]   (a repository root holding build/orbquest)
# Environment: RUNS (runs per workload, default 3), WARMUP (frames left out at the start of each
# run, 10), WORKLOADS ("still fly-through").
#
# Prints per workload the median frame time (--frame-stats' frame and colour pass columns) of
# the frames with the display and of those without, their ratio, and the median over the pairs
# of one frame with the display and the frame without it just before.
set -euo pipefail
export LC_ALL=C

self=$(realpath "$0")
here=$(realpath "$(dirname "$self")/..")
if [ -z "${ORBQUEST_BENCH_XVFB:-}" ]; then
  export ORBQUEST_BENCH_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$@"
fi
export LIBGL_ALWAYS_SOFTWARE=1
checkout=$(realpath "${1:-$here}")
runs=${RUNS:-3}
warmup=${WARMUP:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config  # no real home is read or written

# Frame 0's poll finds no callback yet, so from frame 2 on the even frames are hidden.
for ((i = 0; i < 60; ++i)); do echo "dt 1/60 cursor 512 384 press H release H"; done \
  > "$work/still.replay"
awk '{ sub(/#.*/, "") } NF {
       n = 1; rest = ""
       for (i = 1; i <= NF; ++i) { if ($i == "frames") { n = $(i + 1); ++i } else rest = rest " " $i }
       for (k = 0; k < n; ++k) print "frames 1" rest " press H release H"
     }' "$here/replays/fly-through.replay" > "$work/fly-through.replay"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "nan") }'; }

echo "Checkout: $checkout; $runs runs per workload, the first $warmup frames of each left out"
for workload in ${WORKLOADS:-still fly-through}; do
  frames=$(grep -c . "$work/$workload.replay")
  for ((r = 0; r < runs; ++r)); do
    (cd "$checkout" && ./build/orbquest --frames "$frames" --replay "$work/$workload.replay" \
      --frame-stats "$work/$workload-$r.csv" > /dev/null)
  done
  echo
  echo "$workload ($frames frames)"
  printf '  %-18s %10s %10s %7s %8s\n' "ms per frame" hidden shown ratio pairs
  for figure in 2:frame 4:"colour pass (GL)"; do
    column=${figure%%:*}
    values() { awk -F, -v c="$column" -v skip="$warmup" -v odd="$1" \
      'FNR > 1 + skip && $1 % 2 == odd { print $c }' "$work/$workload"-*.csv; }
    hidden=$(values 0 | median)
    shown=$(values 1 | median)
    pairs=$(awk -F, -v c="$column" -v skip="$warmup" \
      'FNR == 1 { before = 0 } FNR > 1 + skip { if ($1 % 2 && before > 0) print $c / before; before = $c }' \
      "$work/$workload"-*.csv | median)
    awk -v l="${figure#*:}" -v h="$hidden" -v s="$shown" -v p="$pairs" \
      'BEGIN { printf "  %-18s %10.2f %10.2f %7.3f %8.3f\n", l, h, s, s / h, p }'
  done
done
