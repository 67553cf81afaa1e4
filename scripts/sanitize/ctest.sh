#!/usr/bin/env bash
# scripts/sanitize/ctest.sh BUILD_DIR [ctest arguments...]
# Runs the sanitized tests of BUILD_DIR (scripts/sanitize/env.sh already
# sourced). A safeguard: should the leak checker itself fail at exit after
# the test has passed (its tracer crashing, "Tracer caught signal", then
# "LeakSanitizer has encountered a fatal error"; env.sh removes the one cause
# seen, a bogus record of dynamic TLS), the test was not checked, not found
# wrong. So when every failed test failed that way alone (crash-only.sh),
# they run once more, and that run decides. Any other failure stands as it is.
set -uo pipefail
build="${1:?usage: scripts/sanitize/ctest.sh BUILD_DIR [ctest arguments...]}"
shift
log="$build/sanitized-ctest.log"

ctest --test-dir "$build" --output-on-failure "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] && exit 0

# Each failed test's output, line by line after its name and a tab.
blocks="$(awk '
  /^ *Start +[0-9]+: / { name = "" }
  /Test +#[0-9]+: .*\*\*\*Failed/ { name = $0; sub(/.*Test +#[0-9]+: /, "", name); sub(/ +\.+.*/, "", name); next }
  name != "" { print name "\t" $0 }' "$log")"
failed="$(sed -n 's/^[0-9]*:\(.*\)$/\1/p' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | sort -u)"
[ -n "$failed" ] || exit "$status"
while IFS= read -r name; do
  awk -F '\t' -v name="$name" '$1 == name { sub(/^[^\t]*\t/, ""); print }' <<<"$blocks" |
    "$(dirname "$0")/crash-only.sh" || exit "$status"
done <<<"$failed"

echo "== the leak checker crashed in $(echo "$failed" | wc -l) test(s); running them once more"
pattern="^($(echo "$failed" | sed 's/[][\.*^$+?(){}|]/\\&/g' | paste -sd '|'))\$"
ctest --test-dir "$build" --output-on-failure -R "$pattern" "$@"
