// The studio mark ("common/RuvoLogo"): four triangles turning about a
// centre on a dark medal. Abstract and our own.
#include "tools/assetgen/brand.h"

#include "tools/assetgen/palette.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

// The title menu shows the mark at half size near the bottom-right corner
// (centred 70 and 40 pixels from the edges): a 78-unit medal stays whole
// there.
constexpr float kBrandRadius = 78;

}  // namespace

void DrawBrandMark(Painter &p, Vec2 c, float r, bool medal) {
    const Color colours[4] = {pal::kCyan, pal::kGold, pal::kCoral, pal::kMint};
    if (medal) {
        style::Shadow(
            p, Around(c, r), [&](Vec2 q) { return sdf::Circle(q, c, r); }, {r * 0.02f, r * 0.04f},
            r * 0.05f, 0.6f);
        p.Fill(
            Around(c, r), [&](Vec2 q) { return sdf::Circle(q, c, r); }, pal::kInk);
        style::Gradient(
            p, Around(c, r), [&](Vec2 q) { return sdf::Circle(q, c, r * 0.94f); }, Rgb(24, 34, 130),
            Rgb(4, 6, 70));
        p.Fill(
            Around(c, r), [&](Vec2 q) { return sdf::Ring(q, c, r * 0.86f, r * 0.018f); },
            pal::kWhite, 0.85f);
    }
    // A pinwheel: in each quarter of a square, the half next to the
    // centre line, turned a quarter for each quarter.
    const float s = r / 110;  // the pieces are laid out for r = 110
    const float half = 64 * s, gap = 3.2f * s;
    for (int k = 0; k < 4; ++k) {
        float turn = kPi / 2 * k;
        std::vector<Vec2> v = {{0, 0}, {0, -half}, {half, -half}};
        for (Vec2 &pt : v) pt = c + Rotate(pt, turn);
        auto piece = [&](Vec2 q) { return sdf::Polygon(q, v) + gap; };
        Box b = Around(c, half + 4 * s);
        style::Shadow(p, b, piece, {1.5f * s, 3 * s}, 3 * s, 0.5f);
        style::Outlined(p, b, piece, Shade(colours[k], 0.3f), Shade(colours[k], -0.25f), 2.2f * s);
    }
    p.Fill(
        Around(c, 8 * s), [&](Vec2 q) { return sdf::Circle(q, c, 5 * s); }, pal::kWhite);
}

ImageSheet BrandSheet() {
    ImageSheet s;
    s.name = "common/RuvoLogo";
    s.frameW = s.frameH = 256;
    s.frames = 1;
    s.columns = 1;
    s.draw = [](Painter &p, int) { DrawBrandMark(p, {128, 128}, kBrandRadius, true); };
    return s;
}

}  // namespace assetgen
