#!/usr/bin/env bash
# Builds Merendella and runs every test: the normal build, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
if [ "${MERENDELLA_SKIP_SANITIZERS:-0}" != 1 ]; then
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan
fi
