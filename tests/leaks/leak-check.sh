#!/usr/bin/env bash
# Runs the game under valgrind's memory checker through a switch of levels: the stairs are won
# (their win replay, fast-forwarded) and N in the winning frame builds the gaps in their place,
# which then play two frames; both levels are built and torn down. Fails on any invalid access
# or free, on any block definitely lost, and when the game itself fails. Needs a display; the
# test command provides Xvfb.
# Usage: tests/leaks/leak-check.sh path/to/orbquest   (from the repository root)
set -uo pipefail
binary=${1:?usage: leak-check.sh path/to/orbquest}
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
home=$(mktemp -d)
replay=$home/stairs-then-next.replay
trap 'rm -f "$log"; rm -rf "$home"' EXIT
export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config  # never a real home

sed '$ s/$/ press N/' replays/levels/stairs-win.replay > "$replay"
frames=$(awk '{ for (i = 1; i < NF; i++) if ($i == "frames") n += $(i + 1) } END { print n + 2 }' \
  "$replay")
valgrind --leak-check=full --errors-for-leak-kinds=definite --error-exitcode=99 \
  --num-callers=50 --suppressions="$here/mesa.supp" "$binary" --level stairs --fast-forward \
  --replay "$replay" --frames "$frames" > "$log" 2>&1
status=$?

if [ "$status" -ne 0 ] || ! grep -q "ERROR SUMMARY: 0 errors" "$log" ||
   ! grep -q "Welcome to >>Orbquest<<" "$log" || ! grep -q "Level gaps: Mind the gaps" "$log"; then
  cat "$log"
  echo "leak-check: FAILED (exit status $status)"
  exit 1
fi
grep -E "definitely lost|ERROR SUMMARY" "$log"
echo "leak-check: clean"
