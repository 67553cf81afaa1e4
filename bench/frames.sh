#!/usr/bin/env bash
# Median frame times at the five moments of the day that the performance notes
# quote, for one or more build trees, with glmark2's refract scene measured in
# the same run as the machine's yardstick (glmark2-x11 is a benchmark, not a
# dependency: it is installed here if missing).
#   bench/frames.sh [width height frames] [build-dir ...]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
width=${1:-1080}; height=${2:-720}; frames=${3:-15}
shift $(( $# < 3 ? $# : 3 )) || true
builds=("$@"); [ ${#builds[@]} -gt 0 ] || builds=(build)
if ! command -v glmark2 >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq glmark2-x11 >/dev/null
fi
run() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }
glmark() { run glmark2 -s "${width}x${height}" -b refract 2>&1 | sed -n 's/.*FrameTime: \([0-9.]*\) ms.*/\1/p'; }
printf "%-8s" "moment"; for b in "${builds[@]}"; do printf " %14s" "$(basename "$(cd "$b/.." && pwd)")/$(basename "$b")"; done; printf " %10s\n" "glmark2"
for t in 1 20 62 100 125; do
  printf "%-8s" "$t s"
  for b in "${builds[@]}"; do
    ms=$(cd "$b/bin" && run ./snapshot "$width" "$height" "$t" --time "$frames" | sed -n 's/.*median frame \([0-9.]*\) ms.*/\1/p')
    printf " %14s" "$ms"
  done
  printf " %10s\n" "$(glmark)"
done
