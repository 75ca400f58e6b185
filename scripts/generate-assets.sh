#!/usr/bin/env bash
# Builds the asset generator and rewrites the committed models, images, sounds and desktop
# icons with it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build --target orbquest_assetgen -j "$(nproc)"
build/tools/orbquest_assetgen Orbquest/Scene/Content dist/icons
