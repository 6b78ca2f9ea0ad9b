#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh              release build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh core viewer export

jobs=$(nproc 2>/dev/null || echo 2)
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTRIK_SANITIZE=ON \
        -DZENTRIK_BUILD_BENCHMARKS=OFF -DZENTRIK_WERROR=ON
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir=build
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DZENTRIK_WERROR=ON
fi
cmake --build "$dir" -j "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$jobs"
