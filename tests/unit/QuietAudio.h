#pragma once
// Unit tests mix into OpenAL Soft's null device, so nothing reaches a
// speaker, and keep its log quiet. OpenAL reads both at its first call, so
// they are set while the test binary starts; a value already in the
// environment wins.

#include <cstdlib>

inline const bool kQuietAudio = [] {
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    return true;
}();
