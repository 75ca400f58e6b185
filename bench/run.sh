#!/usr/bin/env bash
# Frame time of the game in a 1024x768 window under Xvfb on Mesa's llvmpipe, per pass, on two
# workloads at a fixed frame time (so every run draws the same frames):
#   still        the untouched start view (STILL_FRAMES frames of 1/60 s)
#   fly-through  replays/fly-through.replay: the whole road, 600 frames of 1/15 s
# and start-up time (process start to the first frame).
#
# Usage:
#   bench/run.sh [CHECKOUT]            one build: per-pass median, 95th and 99th percentile,
#                                      start-up and frame time against empty frames
#   bench/run.sh --compare BASE [NEW]  two builds in one session, runs alternating, and the
#                                      ratio NEW / BASE of every figure's median
# A CHECKOUT is a repository root holding build/orbquest (default: this one); the game reads its
# shaders and models from there, so each build runs with its own assets. Both play this
# checkout's replays.
#
# Environment: RUNS (runs per build and workload, default 3), STILL_FRAMES (60), FLY_FRAMES (the
# whole replay; fewer play only its start, for quick checks), WARMUP (frames
# left out of the figures at the start of each run, 10: llvmpipe compiles shaders while they
# first draw), WORKLOADS ("still fly-through"), CSV_DIR (keep every run's --frame-stats CSV
# there), OPTIONS (game options for every run, e.g. "--samples 4 --shadow-quality soft", so both
# builds draw alike), BASE_OPTIONS and NEW_OPTIONS (added for one side of --compare only: a build
# older than an option cannot take it, and one build runs against itself:
# BASE_OPTIONS=--no-hud bench/run.sh --compare . is the on-screen display shown against hidden).
# Figures are per frame in ms; percentiles are nearest-rank over the frames of all runs. Each
# build's quality is printed as the game announced it.
set -euo pipefail
export LC_ALL=C  # EPOCHREALTIME, sort and awk all with a decimal point

self=$(realpath "$0")
here=$(realpath "$(dirname "$self")/..")
if [ -z "${ORBQUEST_BENCH_XVFB:-}" ]; then
  export ORBQUEST_BENCH_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$@"
fi
export LIBGL_ALWAYS_SOFTWARE=1

runs=${RUNS:-3}
still_frames=${STILL_FRAMES:-60}
warmup=${WARMUP:-10}
workloads=${WORKLOADS:-still fly-through}
fly_replay=$here/replays/fly-through.replay
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config  # no real home is read or written
printf 'frames %d dt 1/60 cursor 512 384\n' "$still_frames" > "$work/still.replay"

# The CSV columns reported, as "column:label" (the columns of --frame-stats).
figures=(2:frame 3:"shadow pass (GL)" 4:"colour pass (GL)" 6:"update (CPU)" 8:"swap (CPU)"
  5:"shadow submit (CPU)" 7:"colour submit (CPU)" 9:"process CPU time")

# Runs one build's game from its checkout and prints the seconds from the start of the process
# to the welcome line (printed right before the first frame). What the game said about its
# quality goes to CSV.said. Arguments: checkout, CSV file, then the game's options.
run_game() {
  local checkout=$1 csv=$2 start welcome="" line
  shift 2
  : > "$csv.said"
  start=$EPOCHREALTIME
  while IFS= read -r line; do
    if [ -z "$welcome" ] && [ "$line" = "Welcome to >>Orbquest<<" ]; then
      welcome=$EPOCHREALTIME
    elif [ -z "$welcome" ] && [[ $line == "Software renderer ("* ]]; then
      printf '%s\n' "$line" > "$csv.said"
    fi
  done < <(cd "$checkout" && ./build/orbquest --frame-stats "$csv" "$@" 2>&1)
  if ! wait $! || [ -z "$welcome" ]; then
    echo "bench: $checkout/build/orbquest $* failed" >&2
    exit 1
  fi
  if [ -n "${CSV_DIR:-}" ]; then
    mkdir -p "$CSV_DIR"
    cp "$csv" "$CSV_DIR/"
  fi
  awk -v s="$start" -v w="$welcome" 'BEGIN { printf "%.6f\n", w - s }'
}

# Runs one workload once. Arguments: checkout, workload, CSV file, then the game's options.
# Prints the start-up seconds.
run_workload() {
  local checkout=$1 workload=$2 csv=$3
  shift 3
  case $workload in
    still) run_game "$checkout" "$csv" --frames "$still_frames" --replay "$work/still.replay" "$@" ;;
    fly-through) run_game "$checkout" "$csv" --frames "$fly_frames" --replay "$fly_replay" "$@" ;;
    empty) run_game "$checkout" "$csv" --frames "$still_frames" --empty-frames "$@" ;;
    *) echo "bench: unknown workload $workload" >&2 && exit 1 ;;
  esac
}

read -r -a both_options <<< "${OPTIONS:-}"
read -r -a base_options <<< "${OPTIONS:-} ${BASE_OPTIONS:-}"
read -r -a new_options <<< "${OPTIONS:-} ${NEW_OPTIONS:-}"

# One line on the quality a build ran with: its options and what the game announced (a software
# renderer's lighter defaults), read from the CSV.said of one of its runs. Arguments: label,
# options as one word, the .said file.
quality_line() {
  local said
  said=$(cat "$3" 2>/dev/null || true)
  echo "$1 quality: options: ${2:-none}; the game said: ${said:-nothing (the full look, or what the options ask)}"
}

replay_frames() {
  awk '{ sub(/#.*/, "") } NF { n = 1; for (i = 1; i < NF; ++i) if ($i == "frames") n = $(i + 1); total += n }
       END { print total }' "$fly_replay"
}

# Prints "median p95 p99" (nearest rank) of the numbers on standard input.
percentiles() {
  sort -g | awk '{ v[NR] = $1 }
    function at(p,   r) { r = int(p * NR); if (r < p * NR) ++r; return v[r < 1 ? 1 : r] }
    END { if (NR == 0) { print "nan nan nan"; exit } printf "%.3f %.3f %.3f\n", at(0.5), at(0.95), at(0.99) }'
}

# The values of one column of the CSV files given, without the header and the warm-up frames.
column_values() {
  local column=$1
  shift
  awk -F, -v c="$column" -v skip="$warmup" 'FNR > 1 + skip { print $c }' "$@"
}

median_of() { percentiles | cut -d' ' -f1; }

machine() {
  local mesa renderer cpu
  mesa=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL core profile version string: //p')
  renderer=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p')
  cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)
  echo "Machine: $(nproc) CPUs ($cpu); $renderer; OpenGL $mesa; load $(cut -d' ' -f1-3 /proc/loadavg)"
}

workload_title() {
  case $1 in
    still) echo "still start view: $still_frames frames of 1/60 s" ;;
    fly-through) echo "fly-through: $fly_frames frames of 1/15 s (replays/fly-through.replay)" ;;
  esac
}

one_build() {
  local checkout=$1 workload r csvs figure startups=""
  machine
  echo "Build: $checkout; $runs runs per workload, the first $warmup frames of each left out"
  for workload in $workloads; do
    csvs=()
    for ((r = 0; r < runs; ++r)); do
      startups+=$(run_workload "$checkout" "$workload" "$work/$workload-$r.csv" \
        ${both_options[@]+"${both_options[@]}"})$'\n'
      csvs+=("$work/$workload-$r.csv")
    done
    echo
    quality_line "Build" "${both_options[*]:-}" "$work/$workload-0.csv.said"
    echo "$(workload_title "$workload")"
    printf '  %-22s %9s %9s %9s\n' "ms per frame" median p95 p99
    for figure in "${figures[@]}"; do
      read -r median p95 p99 < <(column_values "${figure%%:*}" "${csvs[@]}" | percentiles)
      printf '  %-22s %9.2f %9.2f %9.2f\n' "${figure#*:}" "$median" "$p95" "$p99"
    done
  done

  local empty_startups="" empty_csvs=()
  for ((r = 0; r < runs; ++r)); do
    empty_startups+=$(run_workload "$checkout" empty "$work/empty-$r.csv" \
      ${both_options[@]+"${both_options[@]}"})$'\n'
    empty_csvs+=("$work/empty-$r.csv")
  done
  local game_start empty_start empty_frame game_frame
  game_start=$(printf '%s' "$startups" | median_of)
  empty_start=$(printf '%s' "$empty_startups" | median_of)
  empty_frame=$(column_values 2 "${empty_csvs[@]}" | median_of)
  game_frame=$(column_values 2 "$work"/still-*.csv 2>/dev/null | median_of || true)
  echo
  awk -v gs="$game_start" -v es="$empty_start" -v gf="$game_frame" -v ef="$empty_frame" 'BEGIN {
    printf "  %-28s %10s %14s %8s\n", "", "game", "empty frames", "ratio"
    printf "  %-28s %8.3f s %12.3f s %8.1f\n", "start-up to first frame", gs, es, gs / es
    if (gf != "" && gf != "nan")
      printf "  %-28s %7.2f ms %11.2f ms %8.1f\n", "median frame, still view", gf, ef, gf / ef
  }'
}

# The median over frames of each frame's best (lowest) value among the given runs of one build:
# every run of a workload draws the same frames, so a frame's best run is the one least
# disturbed by other programs on the machine.
best_of_runs() {
  local column=$1
  shift
  awk -F, -v c="$column" -v skip="$warmup" 'FNR > 1 + skip {
      if (!($1 in best) || $c < best[$1]) best[$1] = $c
    } END { for (f in best) print best[f] }' "$@" | median_of
}

# Both builds play each workload in turn, the order swapped every round (A B, then B A).
compare() {
  local base=$1 new=$2 workload r side figure
  machine
  echo "Base: $base ${BASE_OPTIONS:-}"
  echo "New:  $new ${NEW_OPTIONS:-}"
  echo "$runs rounds, runs alternating, the first $warmup frames of each run left out."
  echo "median: over the frames of all runs; ratio: the median over the rounds of new / base"
  echo "within a round. best: the median over the frames of each frame's best run, which"
  echo "load from other programs disturbs least. Below 1: new is faster."
  local startup_ratios=""
  for workload in $workloads; do
    for ((r = 0; r < runs; ++r)); do
      local startup_base startup_new
      for side in $([ $((r % 2)) -eq 0 ] && echo "base new" || echo "new base"); do
        if [ "$side" = new ]; then
          startup_new=$(run_workload "$new" "$workload" "$work/$side-$workload-$r.csv" \
            ${new_options[@]+"${new_options[@]}"})
        else
          startup_base=$(run_workload "$base" "$workload" "$work/$side-$workload-$r.csv" \
            ${base_options[@]+"${base_options[@]}"})
        fi
      done
      startup_ratios+=$(awk -v b="$startup_base" -v n="$startup_new" 'BEGIN { print n / b }')$'\n'
    done
    echo
    quality_line "Base" "${base_options[*]:-}" "$work/base-$workload-0.csv.said"
    quality_line "New " "${new_options[*]:-}" "$work/new-$workload-0.csv.said"
    echo "$(workload_title "$workload")"
    printf '  %-20s %8s %8s %6s  %8s %8s %6s  %8s %8s\n' "ms per frame" "base" "new" "ratio" \
      "best" "best" "ratio" "base" "new"
    printf '  %-20s %8s %8s %6s  %8s %8s %6s  %8s %8s\n' "" median median "" base new "" p99 p99
    for figure in "${figures[@]}"; do
      local column=${figure%%:*} b n ratios="" bm nm bb nb
      b=$(column_values "$column" "$work"/base-"$workload"-*.csv | percentiles)
      n=$(column_values "$column" "$work"/new-"$workload"-*.csv | percentiles)
      for ((r = 0; r < runs; ++r)); do
        bm=$(column_values "$column" "$work/base-$workload-$r.csv" | median_of)
        nm=$(column_values "$column" "$work/new-$workload-$r.csv" | median_of)
        ratios+=$(awk -v b="$bm" -v n="$nm" 'BEGIN { print (b > 0 ? n / b : 0) }')$'\n'
      done
      bb=$(best_of_runs "$column" "$work"/base-"$workload"-*.csv)
      nb=$(best_of_runs "$column" "$work"/new-"$workload"-*.csv)
      awk -v label="${figure#*:}" -v b="$b" -v n="$n" -v bb="$bb" -v nb="$nb" \
        -v ratio="$(printf '%s' "$ratios" | median_of)" 'BEGIN {
        split(b, x, " "); split(n, y, " ")
        printf "  %-20s %8.2f %8.2f %6.3f  %8.2f %8.2f %6.3f  %8.2f %8.2f\n", label, x[1], y[1],
          ratio, bb, nb, (bb > 0 ? nb / bb : 0), x[3], y[3]
      }'
    done
  done
  echo
  printf '  %-20s %6.3f (median over the rounds of new / base)\n' "start-up to 1st frame" \
    "$(printf '%s' "$startup_ratios" | median_of)"
}

fly_frames=${FLY_FRAMES:-$(replay_frames)}
if [ "${1:-}" = "--compare" ]; then
  [ $# -ge 2 ] || { echo "usage: bench/run.sh --compare BASE [NEW]" >&2; exit 2; }
  compare "$(realpath "$2")" "$(realpath "${3:-$here}")"
else
  one_build "$(realpath "${1:-$here}")"
fi
