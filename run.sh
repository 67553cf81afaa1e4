#!/usr/bin/env bash
# ./run.sh [width height title refresh fullscreen]
# Installs what is missing, builds, and starts Morrowdock from build/bin.
# Without a display (DISPLAY unset) it runs under a virtual one.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh
cd build/bin
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ./morrowdock "$@"
fi
exec ./morrowdock "$@"
