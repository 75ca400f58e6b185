#!/usr/bin/env bash
# Builds the contact sheet renderer and redraws docs/contact-sheet.png (every model with its
# texture) under a virtual X server; an argument writes the picture elsewhere instead.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build --target orbquest_contactsheet -j "$(nproc)"
xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/orbquest_contactsheet "$@"
