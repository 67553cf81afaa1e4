#!/usr/bin/env bash
# ./test.sh: installs what is missing, builds, and runs every test (unit, gl,
# e2e, web) under one virtual display. Exit status is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh
# The page for the browser tests (label web): emscripten, Chromium and the
# wasm libraries installed and built once, then kept.
./scripts/web/build.sh
cd build
# -noreset: the server must not reset when the last client of one test leaves,
# or the next test's first connection can be refused.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  ctest --output-on-failure --timeout 600 "$@"
