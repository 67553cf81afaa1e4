#!/usr/bin/env bash
# ./test.sh: installs what is missing, builds, and runs every test (unit, gl,
# e2e) under one virtual display. Exit status is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh
cd build
exec xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX" \
  ctest --output-on-failure --timeout 600 "$@"
