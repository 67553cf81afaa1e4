/* Preloaded into sanitizer test runs: keeps Mesa's software driver mapped
   after the GL library closes it, so the leak checker can name the driver's
   own allocations (and the suppression file can skip them) instead of
   reporting them from an unknown module. */
#include <dlfcn.h>

__attribute__((constructor)) static void keepDriverLoaded(void) {
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}
