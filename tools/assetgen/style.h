// Shared drawing motifs: bevelled tiles, outlined pieces, shadows and
// glints. Every picture of the pack is built from these so they read as
// one family.
#pragma once

#include "tools/assetgen/palette.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/sdf.h"

namespace assetgen::style {

// A rounded, bevelled tile: body gradient from `top` to `bottom`, a light
// rim along the upper edge and a darker lip along the lower edge.
void Tile(Painter &p, Vec2 c, Vec2 half, float radius, Color top, Color bottom,
          float opacity = 1.0f);

// A glossy disc with an ink outline and a highlight.
void Gem(Painter &p, Vec2 c, float r, Color light, Color dark, float outline);

// A soft drop shadow for any shape.
template <class Sdf>
void Shadow(Painter &p, Box b, Sdf sdf, Vec2 offset, float softness, float opacity) {
    Box ob{b.x0 + offset.x - softness, b.y0 + offset.y - softness, b.x1 + offset.x + softness,
           b.y1 + offset.y + softness};
    p.Fill(
        ob, [&](Vec2 q) { return sdf(q - offset); }, pal::kInk, opacity, softness);
}

// Fills a shape with a vertical gradient.
template <class Sdf>
void Gradient(Painter &p, Box b, Sdf sdf, Color top, Color bottom, float opacity = 1.0f) {
    float y0 = b.y0, y1 = b.y1;
    p.Fill(
        b, sdf, [&](Vec2 q) { return Mix(top, bottom, Clamp01((q.y - y0) / (y1 - y0))); }, opacity);
}

// Outline (ink) and gradient body in one go.
template <class Sdf>
void Outlined(Painter &p, Box b, Sdf sdf, Color top, Color bottom, float outline) {
    Box ob{b.x0 - outline, b.y0 - outline, b.x1 + outline, b.y1 + outline};
    p.Fill(
        ob, [&](Vec2 q) { return sdf(q) - outline; }, pal::kInk);
    Gradient(p, b, sdf, top, bottom);
}

// A small four-point sparkle.
void Sparkle(Painter &p, Vec2 c, float r, Color col, float opacity = 1.0f);

}  // namespace assetgen::style
