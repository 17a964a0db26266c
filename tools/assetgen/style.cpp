// Shared drawing motifs.
#include "tools/assetgen/style.h"

namespace assetgen::style {

void Tile(Painter &p, Vec2 c, Vec2 half, float radius, Color top, Color bottom, float opacity) {
    Box b{c.x - half.x, c.y - half.y, c.x + half.x, c.y + half.y};
    auto body = [&](Vec2 q) { return sdf::RoundBox(q, c, half, radius); };
    // Dark lip: the body shifted down shows as a rim along the lower edge.
    p.Fill(b, body, Shade(bottom, -0.45f), opacity);
    float lip = std::max(1.0f, half.y * 0.09f);
    auto upper = [&](Vec2 q) {
        return sdf::RoundBox(q, {c.x, c.y - lip / 2}, {half.x, half.y - lip / 2}, radius);
    };
    Gradient(p, b, upper, top, bottom, opacity);
    // Light rim along the top edge: the band between the body and itself
    // moved down by a fraction of its size.
    float rim = std::max(0.8f, half.y * 0.06f);
    auto rimBand = [&](Vec2 q) {
        float outer = upper(q);
        float inner =
            sdf::RoundBox(q, {c.x, c.y - lip / 2 + rim}, {half.x, half.y - lip / 2}, radius);
        return sdf::Subtract(outer, inner);
    };
    p.Fill(b, rimBand, Shade(top, 0.45f), 0.8f * opacity);
}

void Gem(Painter &p, Vec2 c, float r, Color light, Color dark, float outline) {
    p.Fill(
        Around(c, r + outline), [&](Vec2 q) { return sdf::Circle(q, c, r + outline); }, pal::kInk);
    p.Fill(
        Around(c, r), [&](Vec2 q) { return sdf::Circle(q, c, r); },
        [&](Vec2 q) { return Mix(light, dark, Clamp01((q.y - (c.y - r)) / (2 * r))); });
    Vec2 h{c.x - r * 0.35f, c.y - r * 0.42f};
    p.Fill(
        Around(h, r * 0.4f), [&](Vec2 q) { return sdf::Ellipse(q, h, r * 0.38f, r * 0.24f); },
        pal::kWhite, 0.55f);
}

void Sparkle(Painter &p, Vec2 c, float r, Color col, float opacity) {
    auto shape = sdf::Star(c, r, r * 0.28f, 4);
    p.Fill(
        Around(c, r), [&](Vec2 q) { return sdf::Polygon(q, shape); }, col, opacity);
}

}  // namespace assetgen::style
