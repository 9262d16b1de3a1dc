#!/usr/bin/env bash
# Installs what is needed, builds the player and starts it. Arguments go to the player, e.g.
# --book /path/to/book.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVARO_BUILD_TESTS=OFF
cmake --build build-release --target tolvaro tolvaro_sample_book
if [ "$#" -eq 0 ]; then
  set -- --book build-release/documents/sample-book
fi
exec ./build-release/tolvaro "$@"
