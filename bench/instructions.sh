#!/usr/bin/env bash
# The work of single frames counted in instructions (callgrind), all threads
# together: the driver's rasterizer workers, the program's thread and the
# code the driver generates. The count is the same for the same build,
# moment and scale however fast the machine happens to run, so two builds
# can be told apart by a per cent, where frame times on these machines drift
# by ten within minutes. It counts work, not time: waits and memory stalls
# are not in it. One run takes about ten minutes (valgrind runs every thread
# on one core, some fifty times slower).
#   bench/instructions.sh [build-dir [width height seconds scale frames]]
#   (default: build 1080 720 62 0.5 12)
# Prints, for each frame drawn, its instructions in millions. The driver
# builds its programs for a state on that state's first use, and the
# program builds its narrower lighting programs a few a frame, so the first
# frames count those builds too; compare the later frames, which repeat.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
width=${2:-1080}; height=${3:-720}; seconds=${4:-62}; scale=${5:-0.5}; frames=${6:-12}
command -v valgrind >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq valgrind >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# A dump before each frame: each file then holds what happened since the
# one before (the first, the start-up).
(cd "$build/bin" && xvfb-run -a -s "-screen 0 1280x1024x24" \
  valgrind --tool=callgrind --dump-before='runFrame*' --callgrind-out-file="$out/cg" \
  ./snapshot --scale "$scale" "$width" "$height" "$seconds" --time "$frames" >"$out/log" 2>&1) || {
  cat "$out/log" >&2
  exit 1
}
# The file's total, in millions.
total() { sed -n 's/^\(summary\|totals\): \([0-9]*\).*/\2/p' "$1" | head -1 | awk '{printf "%.1f", $1 / 1e6}'; }
echo "$build at $seconds s, scale $scale, ${width} x ${height}: millions of instructions a frame"
# cg.1 is the start-up; cg.2 ... and the last file (cg) are the frames.
n=2
while [ -f "$out/cg.$n" ]; do
  echo "frame $((n - 1)): $(total "$out/cg.$n")"
  n=$((n + 1))
done
echo "frame $((n - 1)) and the exit: $(total "$out/cg")"
