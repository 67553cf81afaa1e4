#!/usr/bin/env bash
# Prints the pixel hashes of the day's frames as one build draws them: every
# 5 s of the day in the default frame, with --reference and at each reduced
# render scale, and runs of consecutive frames through the capture windows,
# the lamp's failure and return and a change of scale. Two builds that print
# the same lines draw the same frames byte for byte.
#   scripts/frame-hashes.sh [build-folder] [sizes...]   (default: build, 540x360 1080x720)
# Compare with a stored list: diff <(scripts/frame-hashes.sh) tests/e2e/data/frame-hashes.txt
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(540x360 1080x720)
snapshot=$(realpath "$build/bin/snapshot")

moments=()
for s in $(seq 0 5 150); do moments+=("$s" --hash); done
sequences=(9.45 --frames 16 20.35 --frames 12 27.65 --frames 12 136.7 --frames 12)

run() {  # label, then the snapshot arguments
    local label=$1
    shift
    "$snapshot" "$@" | grep -E '^(moment|frame) ' | sed "s/^/$label /"
}

for size in "${sizes[@]}"; do
    w=${size%x*} h=${size#*x}
    run "$size default" "$w" "$h" "${moments[@]}"
    run "$size reference" --reference "$w" "$h" "${moments[@]}"
    for scale in 0.75 0.55 0.4 0.3; do
        run "$size scale-$scale" --scale "$scale" "$w" "$h" "${moments[@]}"
    done
    run "$size frames" "$w" "$h" "${sequences[@]}"
    run "$size frames-rescaled" --scale-at 5 0.55 "$w" "$h" "${sequences[@]}"
done
