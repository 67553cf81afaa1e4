#!/usr/bin/env bash
# scripts/sanitize/ctest.sh BUILD_DIR [ctest arguments...]
# Runs the sanitized tests of BUILD_DIR (scripts/sanitize/env.sh already
# sourced). Now and then the leak checker itself fails at exit, after the
# test has passed: its tracer thread crashes while it stops the process
# ("Tracer caught signal", then "LeakSanitizer has encountered a fatal
# error"). Such a test was not checked, not found wrong, so when every failed
# test failed that way alone they run once more, and that run decides. Any
# other failure stands as it is.
set -uo pipefail
build="${1:?usage: scripts/sanitize/ctest.sh BUILD_DIR [ctest arguments...]}"
shift
log="$build/sanitized-ctest.log"

ctest --test-dir "$build" --output-on-failure "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] && exit 0

# The names of the failed tests whose output holds the leak checker's own
# fatal error and no failed check or sanitizer report, and the names of all
# failed tests.
crashed="$(awk '
  function done() { if (name != "" && fatal && !other) print name; name = ""; fatal = 0; other = 0 }
  /^ *Start +[0-9]+: / { done() }
  /Test +#[0-9]+: .*\*\*\*Failed/ { name = $0; sub(/.*Test +#[0-9]+: /, "", name); sub(/ +\.+.*/, "", name) }
  /LeakSanitizer has encountered a fatal error/ { fatal = 1 }
  /\[  FAILED  \]|runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer: detected/ { other = 1 }
  END { done() }' "$log" | sort -u)"
failed="$(sed -n 's/^[0-9]*:\(.*\)$/\1/p' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | sort -u)"
if [ -z "$crashed" ] || [ "$crashed" != "$failed" ]; then exit "$status"; fi

echo "== the leak checker crashed in $(echo "$crashed" | wc -l) test(s); running them once more"
pattern="^($(echo "$crashed" | sed 's/[][\.*^$+?(){}|]/\\&/g' | paste -sd '|'))\$"
ctest --test-dir "$build" --output-on-failure -R "$pattern" "$@"
