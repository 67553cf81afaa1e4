#!/usr/bin/env bash
# One whole real run of the program at the given size on its own virtual
# display, with MORROWDOCK_STATS=1, taking window shots at the given seconds
# after start-up (the day's clock starts with the first frame, about a second
# after launch). Prints the program's frame-time line.
#   bench/realrun.sh <width> <height> <out-prefix> [seconds ...]
#   e.g. MORROWDOCK_QUALITY=auto bench/realrun.sh 1080 720 /tmp/day 3 62 145
set -euo pipefail
cd "$(dirname "$0")/../build/bin"
width=$1; height=$2; prefix=$3; shift 3
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 "$((width + 64))x$((height + 64))x24" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
start=$(date +%s.%N)
DISPLAY=$display MORROWDOCK_STATS=1 ./morrowdock "$width" "$height" Morrowdock 60 0 \
  </dev/null >"$prefix-out.txt" 2>"$prefix-err.txt" &
program=$!
for s in "$@"; do
  at=$(awk -v a="$start" -v s="$s" 'BEGIN { print a + s + 1.2 }')
  while [ "$(awk -v n="$(date +%s.%N)" -v a="$at" 'BEGIN { print (n < a) }')" = 1 ]; do sleep 0.05; done
  DISPLAY=$display import -window root -crop "${width}x${height}+0+0" "$prefix-$s.png" || true
done
wait $program
grep -E "^frames " "$prefix-err.txt" || cat "$prefix-err.txt"
