#!/usr/bin/env bash
# Configures and builds Quellix into build/ (the desktop program too when wxWidgets is there).
#   scripts/build.sh [--target TARGET] [CONFIGURE-ARGS...]
# --target builds that target only (scripts/package.sh: quellix_installed, what the packages hold).
set -euo pipefail
cd "$(dirname "$0")/.."
target=()
if [ "${1:-}" = --target ]; then target=(--target "$2"); shift 2; fi
"$(pwd)/scripts/install-deps.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build build -j "$jobs" "${target[@]}"
