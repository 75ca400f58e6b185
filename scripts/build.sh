#!/usr/bin/env bash
# Configures and builds Orbquest into build/: the game, the tools and the tests. With --game
# first, only the game (scripts/play.sh). Other arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi
tests=ON
if [ "${1:-}" = "--game" ]; then
  tests=OFF
  shift
fi

# Said every time: the folder remembers the last choice, and the test command needs the tests.
cmake -S . -B build -DORBQUEST_WERROR="$werror" -DORBQUEST_TESTS="$tests" "$@" \
  > build-configure.log || { cat build-configure.log; exit 1; }
rm -f build-configure.log
cmake --build build -j "$(nproc)"
