#pragma once
// A 5 x 7 pixel font for the sheet's labels: upper-case letters (lower case
// is drawn the same), digits and a little punctuation.

#include <cstdint>

namespace preview {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Row bits of a glyph, top row first, bit 4 = leftmost pixel; unknown
// characters come back blank.
const uint8_t* glyphRows(char c);

}  // namespace preview
