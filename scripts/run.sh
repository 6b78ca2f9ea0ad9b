#!/usr/bin/env bash
# Builds the library and runs the example program, which prints a few
# indicator values for a built-in history.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh core viewer export
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
./build/bin/print_indicators
