#!/usr/bin/env bash
# One real run of the program at the given size on its own virtual display,
# with MORROWDOCK_STATS=slices, taking window shots at the given seconds after
# start-up (the day's clock starts with the first frame, about a second after
# launch). Prints the program's frame-time line, then glmark2's refract frame
# at the same size measured right after it on the same kind of display (the
# machine's yardstick; glmark2-x11 is installed here if missing).
#   bench/realrun.sh <width> <height> <out-prefix> [seconds ...]
#   e.g. MORROWDOCK_QUALITY=auto bench/realrun.sh 1080 720 /tmp/day 3 62 145
# RUN_FOR=s ends the run after s seconds with Escape, as a viewer would (the
# whole day otherwise).
set -euo pipefail
cd "$(dirname "$0")/../build/bin"
width=$1; height=$2; prefix=$3; shift 3
if ! command -v glmark2 >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq glmark2-x11 >/dev/null
fi
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 "$((width + 64))x$((height + 64))x24" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
start=$(date +%s.%N)
DISPLAY=$display MORROWDOCK_STATS=slices ./morrowdock "$width" "$height" Morrowdock 60 0 \
  </dev/null >"$prefix-out.txt" 2>"$prefix-err.txt" &
program=$!
for s in "$@"; do
  at=$(awk -v a="$start" -v s="$s" 'BEGIN { printf "%.3f", a + s + 1.2 }')
  while [ "$(awk -v n="$(date +%s.%N)" -v a="$at" 'BEGIN { print (n < a) }')" = 1 ]; do sleep 0.05; done
  DISPLAY=$display import -window root -crop "${width}x${height}+0+0" "$prefix-$s.png" || true
done
if [ -n "${RUN_FOR:-}" ]; then
  end=$(awk -v a="$start" -v s="$RUN_FOR" 'BEGIN { printf "%.3f", a + s + 1.2 }')
  while [ "$(awk -v n="$(date +%s.%N)" -v a="$end" 'BEGIN { print (n < a) }')" = 1 ]; do sleep 0.05; done
  window="$(DISPLAY=$display xdotool search --name '^Morrowdock$' 2>/dev/null | head -n 1 || true)"
  if [ -n "$window" ]; then DISPLAY=$display xdotool windowfocus "$window" key Escape || true; fi
fi
wait $program
grep -E "^frames " "$prefix-err.txt" || cat "$prefix-err.txt"
# Where in the run the scale went: each 5 s of it (also in $prefix-err.txt).
grep -E "^seconds " "$prefix-err.txt" | sed 's/^/  /' || true
refract=$(DISPLAY=$display glmark2 -s "${width}x${height}" -b refract 2>&1 |
  sed -n 's/.*FrameTime: \([0-9.]*\) ms.*/\1/p')
echo "glmark2 refract ${refract} ms"
