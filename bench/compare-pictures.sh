#!/usr/bin/env bash
# Pictures of two builds side by side: the still start view and two frames of the fly-through
# (replays/fly-through.replay), each compared pixel by pixel with ImageMagick.
#
# Usage: bench/compare-pictures.sh BASE [NEW]   (repository roots holding build/orbquest;
#                                                NEW defaults to this checkout)
# Environment: FLY_FRAMES (frames of the fly-through to compare, default "200 600"), KEEP (a
# folder that keeps the screenshots and a picture of the differing pixels), OPTIONS (game
# options for both builds, e.g. "--samples 4 --shadow-quality soft"), BASE_OPTIONS and
# NEW_OPTIONS (added for one build only: a build older than an option cannot take it, and one
# build compares with itself, e.g. BASE_OPTIONS=--no-hud).
#
# For each picture it prints the pixels that differ at all, those that differ by more than
# 3 % and by more than 10 % of full scale (ImageMagick's -fuzz, a distance in RGB), and the
# PSNR. A change passes when no picture has more than 0.1 % of its pixels (786 of 1024 x 768)
# off by more than 10 % and the PSNR stays at 40 dB or more: scattered single pixels that
# change that little, on edges that move every frame, are not something a player can see.
set -euo pipefail
export LC_ALL=C

self=$(realpath "$0")
here=$(realpath "$(dirname "$self")/..")
if [ -z "${ORBQUEST_BENCH_XVFB:-}" ]; then
  export ORBQUEST_BENCH_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$@"
fi
export LIBGL_ALWAYS_SOFTWARE=1
[ $# -ge 1 ] || { echo "usage: bench/compare-pictures.sh BASE [NEW]" >&2; exit 2; }
base=$(realpath "$1")
new=$(realpath "${2:-$here}")
fly_frames=${FLY_FRAMES-200 600}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config  # no real home is read or written
printf 'frames 3 dt 1/60 cursor 512 384\n' > "$work/still.replay"

max_changed=786  # 0.1 % of 1024 x 768
min_psnr=40

shoot() {  # checkout, output PNG, frames, replay, then the game's options
  local checkout=$1 png=$2 frames=$3 replay=$4
  shift 4
  (cd "$checkout" && ./build/orbquest --frames "$frames" --replay "$replay" --screenshot "$png" "$@" > /dev/null)
}

# ImageMagick prints the metric on standard error and exits 1 when the pictures differ.
metric() {
  compare -metric "$1" ${2:+-fuzz "$2"} "$3" "$4" null: 2>&1 | cut -d' ' -f1 || true
}

read -r -a base_options <<< "${OPTIONS:-} ${BASE_OPTIONS:-}"
read -r -a new_options <<< "${OPTIONS:-} ${NEW_OPTIONS:-}"
echo "Base: $base ${base_options[*]:-}"
echo "New:  $new ${new_options[*]:-}"
printf '%-22s %10s %10s %10s %8s\n' picture "any" ">3 %" ">10 %" "PSNR dB"
status=0
pictures=("still 3 $work/still.replay")
for frames in $fly_frames; do
  pictures+=("fly-through-$frames $frames $here/replays/fly-through.replay")
done
for picture in "${pictures[@]}"; do
  read -r name frames replay <<< "$picture"
  shoot "$base" "$work/$name-base.png" "$frames" "$replay" ${base_options[@]+"${base_options[@]}"}
  shoot "$new" "$work/$name-new.png" "$frames" "$replay" ${new_options[@]+"${new_options[@]}"}
  any=$(metric AE "" "$work/$name-base.png" "$work/$name-new.png")
  small=$(metric AE 3% "$work/$name-base.png" "$work/$name-new.png")
  large=$(metric AE 10% "$work/$name-base.png" "$work/$name-new.png")
  psnr=$(metric PSNR "" "$work/$name-base.png" "$work/$name-new.png")
  printf '%-22s %10s %10s %10s %8s\n' "$name" "$any" "$small" "$large" "$psnr"
  if [ -n "${KEEP:-}" ]; then
    mkdir -p "$KEEP"
    cp "$work/$name-base.png" "$work/$name-new.png" "$KEEP/"
    compare -fuzz 3% "$work/$name-base.png" "$work/$name-new.png" "$KEEP/$name-diff.png" || true
  fi
  # PSNR is "inf" for identical pictures.
  if [ "$large" -gt "$max_changed" ] ||
    awk -v p="$psnr" -v m="$min_psnr" 'BEGIN { exit !(p != "inf" && p + 0 < m) }'; then
    status=1
  fi
done
if [ $status -eq 0 ]; then
  echo "within tolerance: at most $max_changed pixels off by more than 10 %, PSNR at least $min_psnr dB"
else
  echo "OUT OF TOLERANCE: more than $max_changed pixels off by more than 10 %, or PSNR below $min_psnr dB"
fi
exit $status
