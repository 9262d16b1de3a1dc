#!/usr/bin/env bash
# Installs what is needed, builds the player and starts it. Arguments go to the player, e.g.
# --book /path/to/book.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVARO_BUILD_TESTS=OFF
cmake --build build-release --target tolvaro
exec ./build-release/tolvaro "$@"
