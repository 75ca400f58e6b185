#!/usr/bin/env bash
# Configures and builds Orbquest into build/ (extra arguments go to cmake's configure step).
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi

cmake -S . -B build -DORBQUEST_WERROR="$werror" "$@" > build-configure.log || { cat build-configure.log; exit 1; }
rm -f build-configure.log
cmake --build build -j "$(nproc)"
