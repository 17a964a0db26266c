// Desktop icons: a rounded board tile in the title's colours, with a 3-by-3
// mosaic of tiles, one of them the player piece. Drawn natively at each
// size: the design is laid out on 64 units and scaled by size / 64.
#include "tools/assetgen/desktop_icons.h"

#include "tools/assetgen/palette.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr float kUnits = 64;

// Painter on a canvas whose design unit is a fractional number of pixels.
void DrawIcon(Canvas &canvas, int size) {
    // The Painter takes whole levels, so draw at a whole level on a canvas of
    // size rounded up to a multiple of 64, then box-filter down.
    int level = (size + int(kUnits) - 1) / int(kUnits);
    int big = level * int(kUnits);
    Canvas work(big, big);
    Painter p(work, 0, 0, big, big, level);
    Vec2 mid{32, 32};
    auto plate = [&](Vec2 q) { return sdf::RoundBox(q, mid, {29, 29}, 12); };
    style::Shadow(p, p.frame(), plate, {0, 1.5f}, 2, 0.5f);
    p.Fill(
        p.frame(), [&](Vec2 q) { return plate(q) - 1.2f; }, pal::kInk);
    style::Gradient(p, p.frame(), plate, Rgb(24, 36, 150), pal::kBackground);
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            Vec2 c{15 + 17.0f * i, 15 + 17.0f * j};
            bool player = (i == 1 && j == 1);
            bool open = (i == 2 && j == 0) || (i == 0 && j == 2);
            Color col = player ? pal::kCyan : pal::Accent((i + j) / 4.0f * 0.9f + 0.05f);
            if (open) col = pal::kFloorTop;
            style::Tile(p, c, {7.2f, 7.2f}, 2.6f, Shade(col, 0.3f), Shade(col, -0.25f));
            if (player) {
                for (int side = -1; side <= 1; side += 2) {
                    Vec2 e{c.x + side * 2.6f, c.y - 0.5f};
                    p.Fill(
                        Around(e, 3), [&](Vec2 q) { return sdf::Ellipse(q, e, 1.5f, 1.9f); },
                        pal::kWhite);
                    Vec2 pu{e.x + 0.3f, e.y + 0.4f};
                    p.Fill(
                        Around(pu, 2), [&](Vec2 q) { return sdf::Circle(q, pu, 0.9f); }, pal::kInk);
                }
            }
        }
    }
    // Box filter down to the requested size.
    float step = float(big) / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int x0 = int(x * step), x1 = std::max(x0 + 1, int((x + 1) * step));
            int y0 = int(y * step), y1 = std::max(y0 + 1, int((y + 1) * step));
            float acc[4] = {0, 0, 0, 0};
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx)
                    for (int c = 0; c < 4; ++c) acc[c] += work.at(xx, yy)[c];
            float n = float((x1 - x0) * (y1 - y0));
            for (int c = 0; c < 4; ++c) canvas.at(x, y)[c] = acc[c] / n;
        }
    }
}

}  // namespace

std::string DesktopIconPath(int size) {
    return "hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/tesselon.png";
}

Canvas RenderDesktopIcon(int size) {
    Canvas canvas(size, size);
    DrawIcon(canvas, size);
    return canvas;
}

}  // namespace assetgen
