// Canvas compositing and conversion to 8-bit pixels.
#include "tools/assetgen/raster.h"

namespace assetgen {

void Canvas::Composite(const Canvas &src, int dx, int dy, int zoom) {
    for (int y = 0; y < src.height() * zoom; ++y) {
        int ty = dy + y;
        if (ty < 0 || ty >= height_) continue;
        for (int x = 0; x < src.width() * zoom; ++x) {
            int tx = dx + x;
            if (tx < 0 || tx >= width_) continue;
            const float *s = src.at(x / zoom, y / zoom);
            float *d = at(tx, ty);
            float k = 1 - s[3];
            for (int i = 0; i < 4; ++i) d[i] = s[i] + d[i] * k;
        }
    }
}

std::vector<std::uint8_t> Canvas::ToRgba8() const {
    std::vector<std::uint8_t> out(4 * width_ * height_, 0);
    for (int i = 0; i < width_ * height_; ++i) {
        const float *p = &px_[4 * i];
        int a = int(std::lround(Clamp01(p[3]) * 255));
        if (a == 0) continue;  // leave fully transparent pixels all zero
        for (int c = 0; c < 3; ++c) {
            float straight = Clamp01(p[c] / p[3]);
            out[4 * i + c] = std::uint8_t(std::lround(straight * 255));
        }
        out[4 * i + 3] = std::uint8_t(a);
    }
    return out;
}

}  // namespace assetgen
