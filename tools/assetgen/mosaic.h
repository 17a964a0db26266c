// Mosaic lettering: words set as grids of small bevelled tiles, the game's
// title style.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/raster.h"

namespace assetgen {

// A word laid out on a tile grid (one letter column gap between letters).
struct MosaicWord {
    int cols = 0, rows = 0;
    std::vector<bool> cells;  // row-major
    bool at(int c, int r) const {
        return c >= 0 && r >= 0 && c < cols && r < rows && cells[r * cols + c];
    }
};

// Lays out a word of the letters the mosaic alphabet knows (A-Z subset used
// by the game's title and marks).
MosaicWord LayOutMosaic(const std::string &word);

// Draws the word with its top-left at `origin`, each tile `cell` units wide:
// a soft shadow, a dark outline around the letters and tiles coloured along
// the palette's accent ramp from left to right.
void DrawMosaic(Painter &p, const MosaicWord &word, Vec2 origin, float cell);

}  // namespace assetgen
