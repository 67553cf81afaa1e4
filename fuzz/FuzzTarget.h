#pragma once
// Each reader under fuzzing is one function of this shape. The libFuzzer
// build turns the one it is compiled for into the fuzzer's entry point; the
// ordinary build links them all into one replay tool for the corpus.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using FuzzTarget = int (*)(const uint8_t* data, size_t size);

// A property the reader promised and broke: stop as a crash would, so the
// input is kept and the replay fails.
#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)

#ifdef MD_FUZZ_ENTRY
#define MD_FUZZ_EXPORT(name)                                                  \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        return name(data, size);                                              \
    }
#else
#define MD_FUZZ_EXPORT(name)
#endif

int fuzzCommandLine(const uint8_t* data, size_t size);
int fuzzControlPoints(const uint8_t* data, size_t size);
int fuzzImage(const uint8_t* data, size_t size);
int fuzzModelImport(const uint8_t* data, size_t size);
