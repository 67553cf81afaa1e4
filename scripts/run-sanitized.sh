#!/usr/bin/env bash
# ./scripts/run-sanitized.sh [-t SECONDS] [width height title refresh fullscreen]
# Builds the sanitized tree (build-asan: ASan + UBSan + LSan) if need be and
# runs the program from it with the settings of scripts/sanitize/env.sh.
# With -t the program is sent Escape after SECONDS, as a user would end it,
# so the leak check at exit runs too. The exit status is the program's:
# 0 when nothing was found, non-zero on any sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
  ./scripts/install-deps.sh
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
seconds=""
if [ "${1:-}" = "-t" ]; then seconds="$2"; shift 2; fi
GEN=()
if command -v ninja >/dev/null 2>&1; then GEN=(-G Ninja); fi
if [ ! -f build-asan/CMakeCache.txt ]; then
  cmake -S . -B build-asan "${GEN[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON
fi
cmake --build build-asan -j "$(nproc)" --target morrowdock md_keep_driver
source scripts/sanitize/env.sh build-asan
cd build-asan/bin
if [ -z "$seconds" ]; then exec ./morrowdock "$@"; fi

./morrowdock "$@" &
program=$!
sleep "$seconds"
title="${3:-Morrowdock}"
window="$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)"
if [ -n "$window" ] && kill -0 "$program" 2>/dev/null; then
  xdotool windowfocus "$window" && xdotool key Escape || true
fi
# Ended by Escape the program exits by itself; one that does not within a
# minute is stopped and the run counts as failed.
for _ in $(seq 1 600); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "run-sanitized: the program did not end after Escape" >&2
  kill -KILL "$program"
  wait "$program" || true
  exit 1
fi
wait "$program"
