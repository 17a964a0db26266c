// A review sheet: every picture of the pack on a labelled grid, plus mock-ups
// of the board and the title screen assembled from the real frames.
#pragma once

#include <vector>

#include "tools/assetgen/raster.h"
#include "tools/assetgen/sheet.h"

namespace assetgen {

Canvas RenderContactSheet(const std::vector<ImageSheet> &sheets);

}  // namespace assetgen
