#!/usr/bin/env bash
# ./run.sh [width height title refresh fullscreen]   or   ./run.sh --web
# Installs what is missing, builds, and starts Morrowdock from build/bin.
# Without a display (DISPLAY unset) it runs under a virtual one.
set -euo pipefail
cd "$(dirname "$0")"
# ./run.sh --web: builds the page into build-web/ and serves it on
# http://127.0.0.1:8000/ (another port with MORROWDOCK_WEB_PORT).
if [ "${1:-}" = "--web" ]; then
  ./scripts/web/build.sh
  port=${MORROWDOCK_WEB_PORT:-8000}
  echo "Morrowdock in a browser: http://127.0.0.1:$port/  (Ctrl-C stops the server)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
fi
./scripts/configure.sh
cd build/bin
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ./morrowdock "$@"
fi
exec ./morrowdock "$@"
