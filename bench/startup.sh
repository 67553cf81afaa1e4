#!/usr/bin/env bash
# Start-up to the first frame, timed from outside: from launching the
# program's start-up path (snapshot --startup) to its first finished frame,
# five runs in each quality mode, on one virtual display started beforehand.
#   bench/startup.sh [width height runs]
set -euo pipefail
cd "$(dirname "$0")/../build/bin"
width=${1:-1080}; height=${2:-720}; runs=${3:-5}
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1
for mode in auto full; do
  times=()
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    line=$(DISPLAY=$display MORROWDOCK_QUALITY=$mode ./snapshot --startup "$width" "$height" 0 -)
    done_at=$(sed -n 's/first frame finished at \([0-9.]*\).*/\1/p' <<<"$line")
    times+=("$(awk -v a="$done_at" -v b="$start" 'BEGIN { print a - b }')")
  done
  sorted=$(printf "%s\n" "${times[@]}" | sort -n)
  printf "%-5s first frame after %s s (median of %d: %s)\n" "$mode" \
    "$(sed -n "$(( (runs + 1) / 2 ))p" <<<"$sorted" | xargs printf %.2f)" "$runs" \
    "$(printf "%s\n" "${times[@]}" | xargs printf "%.2f ")"
done
