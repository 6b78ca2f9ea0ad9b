#!/usr/bin/env bash
# Builds everything and starts the demo viewer on the bundled sample history
# (data/USDJPY60.csv, a synthetic hourly USD/JPY series).
#   scripts/run.sh [--indicator N]
# Without a display ($DISPLAY and $WAYLAND_DISPLAY empty) the window is drawn
# offscreen and saved as build/chartdemo.png instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh core viewer export
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZENTRIK_BUILD_VIEWER=ON
cmake --build build -j "$jobs"

viewer="$root/build/bin/chartdemo"
if [ ! -x "$viewer" ]; then
    echo "run.sh: $viewer was not built (are Qt 6 Widgets and Charts installed?)" >&2
    exit 1
fi

# The viewer reads USDJPY60.csv from its current directory.
cd "$root/data"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$viewer" "$@"
fi

screenshot="$root/build/chartdemo.png"
echo "run.sh: no display; drawing the window offscreen"
QT_QPA_PLATFORM=offscreen "$viewer" --screenshot "$screenshot" "$@"
echo "run.sh: screenshot written to $screenshot"
