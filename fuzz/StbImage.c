/* The fuzz build decodes with its own instrumented copy of the image
   decoder, so the fuzzer sees which header and chunk paths an input opens. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
