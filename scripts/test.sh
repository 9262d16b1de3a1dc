#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, runs every test and checks
# the installed layout.
# Extra arguments go to CMake, e.g. -DTOLVARO_SANITIZE=ON with BUILD_DIR=build-asan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVARO_WERROR=ON "$@"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure
bash scripts/check-install.sh "$build"
