#!/usr/bin/env bash
# Builds Merendella and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Merendella is built, but there is no display to show it on." >&2
    echo "Start it from a desktop session, or in a virtual display:" >&2
    echo "    xvfb-run -s '-screen 0 1280x1024x24' build/bin/merendella" >&2
    exit 1
fi
exec build/bin/merendella
