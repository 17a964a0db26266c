// The centre circle of the credits test card ("common/Testcard_Circle"):
// colour bars across the top, a grey step wedge across the bottom, a fine
// grid and a dark middle band where the credits text scrolls.
#include <cmath>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr Vec2 kCentre{128, 128};
constexpr float kRadius = 124;
constexpr float kBandTop = 64, kBandBottom = 192;  // text band

Color CardColour(Vec2 q, int level) {
    const Color bars[8] = {Rgb(235, 235, 235), Rgb(235, 235, 16), Rgb(16, 235, 235),
                           Rgb(16, 235, 16),   Rgb(235, 16, 235), Rgb(235, 16, 16),
                           Rgb(16, 16, 235),   Rgb(16, 16, 16)};
    if (q.y < kBandTop) {
        int i = std::clamp(int((q.x - 4) / 31), 0, 7);
        return bars[i];
    }
    if (q.y >= kBandBottom) {
        int i = std::clamp(int((q.x - 4) / 31), 0, 7);
        float g = (7 - i) / 7.0f;
        return Color{g, g, g, 1};
    }
    // Middle: dark blue with a fine grid and a centre cross.
    Color c = Mix(Rgb(10, 14, 80), Rgb(0, 0, 40), Clamp01(std::fabs(q.y - 128) / 64));
    float gx = std::fabs(std::fmod(q.x + 256 - 128, 32.0f) - 16);
    float gy = std::fabs(std::fmod(q.y + 256 - 128, 32.0f) - 16);
    float line = std::max(Clamp01(0.5f - (16 - gx - 0.5f) * level),
                          Clamp01(0.5f - (16 - gy - 0.5f) * level));
    return Mix(c, Rgb(120, 140, 220), line * 0.35f);
}

void Card(Painter &p) {
    int level = p.level();
    auto disc = [](Vec2 q) { return sdf::Circle(q, kCentre, kRadius); };
    p.Fill(
        Around(kCentre, kRadius + 4), [](Vec2 q) { return sdf::Circle(q, kCentre, kRadius + 3); },
        Rgb(16, 16, 16));
    p.Fill(Around(kCentre, kRadius), disc, [&](Vec2 q) { return CardColour(q, level); });
    // Thin white rules between the zones.
    for (float y : {kBandTop, kBandBottom}) {
        p.Fill(
            Around(kCentre, kRadius),
            [&](Vec2 q) { return sdf::Intersect(disc(q), std::fabs(q.y - y) - 1.2f); },
            pal::kWhite);
    }
    // Centre cross and circle.
    p.Fill(
        Around(kCentre, 60), [](Vec2 q) { return sdf::Ring(q, kCentre, 48, 0.8f); }, pal::kWhite,
        0.35f);
    p.Fill(
        Box{0, kBandTop, 256, kBandBottom},
        [](Vec2 q) {
            return sdf::Union(sdf::Rect(q, 127.2f, kBandTop, 128.8f, kBandBottom),
                              sdf::Rect(q, 4, 127.2f, 252, 128.8f));
        },
        pal::kWhite, 0.2f);
    // Outer ring.
    p.Fill(
        Around(kCentre, kRadius + 2),
        [](Vec2 q) { return sdf::Ring(q, kCentre, kRadius - 1, 2.2f); }, pal::kWhite);
}

}  // namespace

ImageSheet TestcardSheet() {
    ImageSheet s;
    s.name = "common/Testcard_Circle";
    s.frameW = s.frameH = 256;
    s.frames = 1;
    s.columns = 1;
    s.draw = [](Painter &p, int) { Card(p); };
    return s;
}

}  // namespace assetgen
