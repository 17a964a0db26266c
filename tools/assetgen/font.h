// The bitmap fonts (the game's 16x16-cell font and the runtime's default
// font) and plain text drawing for review sheets.
#pragma once

#include <string>

#include "tools/assetgen/raster.h"

namespace assetgen {

// Font cell of the game's font at level 1, and where a glyph sits in it:
// centred on the cell's middle for a 7-pixel advance and a 10-pixel line.
constexpr int kFontCell = 16;
constexpr int kFontGlyphLeft = 5;
constexpr int kFontGlyphTop = 4;
constexpr int kFontFirstChar = 32;
constexpr int kFontFrames = 128;

// Default font: 96 frames in one row, one transparent pixel either side.
constexpr int kDefaultFontFrameW = 8;
constexpr int kDefaultFontFrameH = 12;
constexpr int kDefaultFontFrames = 96;

// Writes text onto a canvas at (x, y) (top-left of the first cell) with each
// font pixel drawn as zoom x zoom pixels. Returns the width written.
int DrawText(Canvas &canvas, int x, int y, const std::string &text, Color color, int zoom);

}  // namespace assetgen
