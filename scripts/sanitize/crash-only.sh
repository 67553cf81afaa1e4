#!/usr/bin/env bash
# scripts/sanitize/crash-only.sh < OUTPUT
# Status 0 when the output of a sanitized test or run shows that its only
# fault was the leak checker's own crash at exit ("LeakSanitizer has
# encountered a fatal error", its tracer having crashed while it stopped the
# process): no failed check and no sanitizer report beside it. Such a test or
# run was not checked, not found wrong.
output="$(cat)"
grep -q "LeakSanitizer has encountered a fatal error" <<<"$output" &&
  ! grep -qE '\[  FAILED  \]|runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer: detected' \
    <<<"$output"
