#!/usr/bin/env bash
# Runs the game for one frame, the whole level built and torn down, under valgrind's memory
# checker. Fails on any invalid access or free, on any block definitely lost, and when the
# game itself fails. Needs a display; the test command provides Xvfb.
# Usage: tests/leaks/leak-check.sh path/to/orbquest   (from the repository root)
set -uo pipefail
binary=${1:?usage: leak-check.sh path/to/orbquest}
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
home=$(mktemp -d)
trap 'rm -f "$log"; rm -rf "$home"' EXIT
export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config  # never a real home

valgrind --leak-check=full --errors-for-leak-kinds=definite --error-exitcode=99 \
  --num-callers=50 --suppressions="$here/mesa.supp" "$binary" --frames 1 > "$log" 2>&1
status=$?

if [ "$status" -ne 0 ] || ! grep -q "ERROR SUMMARY: 0 errors" "$log" ||
   ! grep -q "Welcome to >>Orbquest<<" "$log"; then
  cat "$log"
  echo "leak-check: FAILED (exit status $status)"
  exit 1
fi
grep -E "definitely lost|ERROR SUMMARY" "$log"
echo "leak-check: clean"
