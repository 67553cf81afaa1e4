#!/usr/bin/env bash
# Who works while full-quality frames are drawn, at the five moments of the
# performance notes: the share of the time in which both of the software
# rasterizer's worker threads run, the program's own thread runs alone, one
# worker runs alone, and so on, from the kernel's scheduler switches over a
# few seconds of frames. On a software renderer the program's thread (vertex
# work, sorting triangles into tiles) and the workers (pixels) take turns;
# the time in which a core is left idle bounds what any overlap of the two
# could gain, which the last column gives as the frame it would leave.
# linux-perf is a measuring tool, not a dependency: it is installed if missing.
#   bench/threads.sh [width height seconds] [build-dir]   (default: 1080 720 3 build)
set -euo pipefail
cd "$(dirname "$0")/.."
width=${1:-1080}; height=${2:-720}; seconds=${3:-3}; build=${4:-build}
if ! command -v perf >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq linux-perf >/dev/null
fi
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
printf "%-8s %8s %8s %8s %8s %8s %10s\n" moment "2 workers" "program" "1 worker" "together" "frame ms" "bound ms"
for t in 1 20 62 100 125; do
  # The short run gives the median frame and how long the tool takes to
  # reach its frames (it simulates the day up to the moment first); the long
  # run is recorded once it is that far.
  began=$(date +%s.%N)
  frame=$(cd "$build/bin" && xvfb-run -a -s "-screen 0 1280x1024x24" ./snapshot "$width" "$height" "$t" --time 15 |
    sed -n 's/.*median frame \([0-9.]*\) ms.*/\1/p')
  reach=$(awk -v a="$began" -v b="$(date +%s.%N)" 'BEGIN {printf "%.1f", b - a}')
  (cd "$build/bin" && xvfb-run -a -s "-screen 0 1280x1024x24" \
      timeout "$(awk -v r="$reach" -v s="$seconds" 'BEGIN {printf "%d", r + s + 5}')" \
      ./snapshot "$width" "$height" "$t" --time 100000 >/dev/null 2>&1) &
  runner=$!
  sleep "$reach"
  perf record -q -k CLOCK_MONOTONIC -e sched:sched_switch -a -o "$work/sched.data" \
    -- sleep "$seconds" >/dev/null 2>&1
  wait "$runner" || true
  perf script -i "$work/sched.data" -F cpu,time,trace 2>/dev/null | awk '
    function kind(name) {
      if (name ~ /^snapshot/) return "P";
      if (name ~ /^llvmpipe/) return "W";
      if (name ~ /^swapper/) return "";
      return "o";
    }
    {
      cpu = $1; gsub(/[\[\]]/, "", cpu); time = $2 + 0;
      next_name = $0; sub(/.*==> next_comm=/, "", next_name); sub(/ next_pid=.*/, "", next_name);
      if (started) {
        workers = 0; program = 0;
        for (c in running) { if (running[c] == "W") workers++; if (running[c] == "P") program++; }
        share[(workers == 2) ? "WW" : (program && workers) ? "PW" : program ? "P" : workers ? "W" : "-"] += time - last;
        total += time - last;
      }
      running[cpu] = kind(next_name); last = time; started = 1;
    }
    END {
      if (total <= 0) exit 1;
      for (k in share) share[k] /= total;
      # Core-time in use per unit of wall time; two cores fully used give 2.
      busy = 2 * share["WW"] + 2 * share["PW"] + share["P"] + share["W"];
      printf "%7.1f%% %7.1f%% %7.1f%% %7.1f%% %.4f\n", 100 * share["WW"], 100 * share["P"], 100 * share["W"], 100 * share["PW"], busy / 2;
    }' >"$work/shares.txt" || { echo "$t s: no scheduler record (perf needs root)"; continue; }
  read -r both alone one together used <"$work/shares.txt"
  # The frame's work packed onto both cores with no core ever idle.
  bound=$(awk -v f="${frame:-0}" -v u="$used" 'BEGIN {printf "%.1f", f * u}')
  printf "%-8s %8s %8s %8s %8s %8s %10s\n" "$t s" "$both" "$alone" "$one" "$together" "${frame:-?}" "$bound"
done
