# Sourced, with the sanitized build folder as argument:
#   source scripts/sanitize/env.sh build-asan
# Sets what a sanitized run of the program (or its tests) needs to end with
# status 0 when nothing is wrong, and non-zero on any report:
# - the GL driver stays mapped (LD_PRELOAD), so its own allocations can be
#   named and skipped (lsan.supp) rather than reported from an unknown module;
# - undefined behaviour halts with a report instead of going on quietly.
_md_sanitize_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
_md_build="$(cd "${1:?usage: source scripts/sanitize/env.sh BUILD_DIR}" && pwd)"
export LD_PRELOAD="$_md_build/bin/libmd_keep_driver.so${LD_PRELOAD:+:$LD_PRELOAD}"
# The preloaded library comes before the ASan runtime; that is intended.
# intercept_tls_get_addr=0: the runtime's record of the driver's dynamic TLS
# blocks can hold a bogus range (seen: "DTLS 12 at 0x1102-0x1800002204" with
# LSAN_OPTIONS=verbosity=1), and the leak checker's tracer then crashes on
# it at exit ("Tracer caught signal 11"), after a test that passed. Without
# the record only those blocks go unscanned: fewer places count as holding
# a pointer, so no leak can hide there, and the static TLS is still scanned.
export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$_md_sanitize_dir/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
unset _md_sanitize_dir _md_build
