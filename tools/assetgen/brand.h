// The studio mark, shared by its sheet and the desktop icons.
#pragma once

#include "tools/assetgen/raster.h"

namespace assetgen {

// Draws the mark centred on c with outer radius r (design units); `medal`
// adds the dark round plate behind the pieces.
void DrawBrandMark(Painter &p, Vec2 c, float r, bool medal);

}  // namespace assetgen
