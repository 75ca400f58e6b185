#!/usr/bin/env bash
# Draws each level named (default: every level of the set but the road) from above and behind
# its start, with the game's own renderer under a virtual X server, and puts the pictures side
# by side, each with its name, in docs/levels.png (LEVEL_PICTURE=FILE writes elsewhere). A
# name may be a level file: scripts/level-pictures.sh my-level.toml. Needs a built game and
# ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  names=(roll lift gates blocks stairs gaps)
fi
out=${LEVEL_PICTURE:-docs/levels.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

pictures=()
for name in "${names[@]}"; do
  level=$(build/orbquest --level "$name" --export-level "$work/level.toml" >/dev/null &&
    sed -n 's/^name = "\(.*\)"$/\1/p' "$work/level.toml")
  # F6 frees the camera; the cursor pitches it 32 degrees down and K flies it back and up.
  printf 'level %s\nframes 2 dt 1/60 cursor 320 240\ndt 1/60 press F6 release F6\n%s\n%s\n%s\n' \
    "$level" "frames 2 dt 1/60" "frames 2 dt 1/60 cursor 320 560" \
    "frames 75 dt 1/60 keys K cursor 320 560" > "$work/view.replay"
  ALSOFT_DRIVERS=nosuchdriver XDG_DATA_HOME=$work XDG_CONFIG_HOME=$work \
    xvfb-run -a -s "-screen 0 1280x1024x24" build/orbquest 400 300 --level "$name" --no-hud \
    --fast-forward --replay "$work/view.replay" --frames 82 --screenshot "$work/$level.png" >/dev/null
  convert "$work/$level.png" -crop 400x230+0+0 +repage -gravity South -background '#e7b21b' \
    -splice 0x28 -font "$font" -pointsize 18 -fill white -stroke '#3a2a10' -strokewidth 1 \
    -annotate +0+4 "$level" "$work/$level-named.png"
  pictures+=("$work/$level-named.png")
done
montage "${pictures[@]}" -tile 3x -geometry +3+3 -background white "$out"
echo "level-pictures: $out"
