#!/usr/bin/env bash
# Installs missing packages, then configures and builds the Release tree in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${GEN[@]}" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j "$(nproc)"
