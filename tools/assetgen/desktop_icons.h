// Application icons for the desktop (menus, launchers, the window).
#pragma once

#include <string>

#include "tools/assetgen/raster.h"

namespace assetgen {

constexpr int kDesktopIconSizes[] = {48, 64, 128, 256};

// Path under the icon folder, freedesktop layout: "hicolor/NxN/apps/tesselon.png".
std::string DesktopIconPath(int size);

// The icon at `size` pixels square.
Canvas RenderDesktopIcon(int size);

}  // namespace assetgen
