// Image sheets: a grid of equally sized frames drawn at a resolution level.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/raster.h"

namespace assetgen {

// The three artwork resolutions and their file-name suffixes.
constexpr int kLevels[] = {1, 2, 4};
const char *LevelSuffix(int level);  // "", "-hd", "-hd2"

// Every sheet stays within this many pixels per side at every level.
constexpr int kMaxSheetSide = 4096;

struct ImageSheet {
    std::string name;            // path under data/, without suffix and extension
    int frameW = 0, frameH = 0;  // at level 1
    int frames = 0;
    int columns = 0;       // frames per row
    bool suffixed = true;  // false: one file, level 1 only, no "-hd" variants
    std::function<void(Painter &, int frame)> draw;

    int rows() const { return (frames + columns - 1) / columns; }
    std::string FileName(int level) const;  // e.g. "common/icons-hd.png"
};

// Draws every frame of the sheet at one level.
Canvas RenderSheet(const ImageSheet &sheet, int level);

// The whole pack, in loader order.
std::vector<ImageSheet> AllSheets();

// Sheets, one per file (defined next to their drawing code).
ImageSheet BoardSheet();
ImageSheet EditUndoFontSheet();
ImageSheet DefaultFontSheet();
ImageSheet MenuSheet();
ImageSheet LogoSheet();
ImageSheet ButtonsSheet();
ImageSheet IconsSheet();
ImageSheet ICadeSheet();
ImageSheet BrandSheet();
ImageSheet TestcardSheet();
ImageSheet BadgesSheet();
ImageSheet DpadSheet();
ImageSheet PartsSheet();

}  // namespace assetgen
