#!/usr/bin/env bash
# Builds the page into build-web/: installs what is missing, builds the wasm
# libraries once (cached), makes the scene data with the native generator
# (build/), then the page with emscripten.
set -euo pipefail
cd "$(dirname "$0")/../.."
./scripts/web/install.sh
./scripts/web/deps.sh
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi
# The scene data comes from the native build's generator.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${GEN[@]}" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j "$(nproc)" --target md_assets md_shaders
if [ ! -f build-web/CMakeCache.txt ]; then
  emcmake cmake -S . -B build-web "${GEN[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DMD_WEB_DATA="$PWD/build" >/dev/null
fi
cmake --build build-web -j "$(nproc)"
