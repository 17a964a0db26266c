// Accent ramp of the palette.
#include "tools/assetgen/palette.h"

#include <cmath>

namespace assetgen::pal {

Color Accent(float t) {
    static const Color stops[] = {kCyan, kViolet, kMagenta, kCoral, kGold};
    constexpr int kStops = sizeof(stops) / sizeof(stops[0]);
    t = Clamp01(t) * (kStops - 1);
    int i = std::min(kStops - 2, int(std::floor(t)));
    return Mix(stops[i], stops[i + 1], t - i);
}

}  // namespace assetgen::pal
