// Writing canvases as PNG files (8-bit RGBA).
#pragma once

#include <string>

#include "tools/assetgen/raster.h"

namespace assetgen {

// Creates the parent folders of `path` as needed. Returns false on failure.
bool MakeParentDirs(const std::string &path);

// Writes the canvas as an RGBA PNG. Returns false on failure.
bool WritePng(const std::string &path, const Canvas &canvas);

}  // namespace assetgen
