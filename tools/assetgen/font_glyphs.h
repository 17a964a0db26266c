// The pack's pixel font: 5 by 9 glyphs (7 rows above the baseline, 2 for
// descenders) for the printable ASCII characters.
#pragma once

namespace assetgen {

constexpr int kGlyphCols = 5;
constexpr int kGlyphRows = 9;
constexpr int kGlyphBaselineRow = 6;  // last row of a capital letter

// True when pixel (col, row) of the character is set. Characters without a
// glyph (space, controls, codes above 126) are blank.
bool GlyphPixel(int code, int col, int row);

// True when the character has any pixel set.
bool HasGlyph(int code);

}  // namespace assetgen
