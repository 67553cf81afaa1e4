#!/usr/bin/env bash
# Median frame times at the five moments of the day that the performance notes
# quote, for one or more build trees, with glmark2's refract scene measured in
# the same run as the machine's yardstick (glmark2-x11 is a benchmark, not a
# dependency: it is installed here if missing).
#   bench/frames.sh [width height frames] [build-dir ...]   (default: build)
# ROUNDS=n measures every build and glmark2 n times per moment, taking turns,
# and prints the median of each: the machine's speed drifts by several per
# cent within minutes, and taking turns shares the drift out.
set -euo pipefail
cd "$(dirname "$0")/.."
width=${1:-1080}; height=${2:-720}; frames=${3:-15}
shift $(( $# < 3 ? $# : 3 )) || true
builds=("$@"); [ ${#builds[@]} -gt 0 ] || builds=(build)
rounds=${ROUNDS:-1}
if ! command -v glmark2 >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq glmark2-x11 >/dev/null
fi
run() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }
glmark() { run glmark2 -s "${width}x${height}" -b refract 2>&1 | sed -n 's/.*FrameTime: \([0-9.]*\) ms.*/\1/p'; }
frame() { (cd "$1/bin" && run ./snapshot "$width" "$height" "$2" --time "$frames" | sed -n 's/.*median frame \([0-9.]*\) ms.*/\1/p'); }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
printf "%-8s" "moment"; for b in "${builds[@]}"; do printf " %14s" "$(basename "$(cd "$b/.." && pwd)")/$(basename "$b")"; done; printf " %10s\n" "glmark2"
for t in 1 20 62 100 125; do
  declare -A seen=()
  for _ in $(seq "$rounds"); do
    for i in "${!builds[@]}"; do seen[$i]+="$(frame "${builds[$i]}" "$t") "; done
    seen[glmark]+="$(glmark) "
  done
  printf "%-8s" "$t s"
  for i in "${!builds[@]}"; do printf " %14s" "$(tr ' ' '\n' <<<"${seen[$i]}" | grep . | median)"; done
  printf " %10s\n" "$(tr ' ' '\n' <<<"${seen[glmark]}" | grep . | median)"
  unset seen
done
