#!/usr/bin/env bash
# Installs what the game needs, builds only the game, and starts it. Arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh game
scripts/build.sh --game
exec ./build/orbquest "$@"
