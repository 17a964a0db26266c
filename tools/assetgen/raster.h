// Floating-point RGBA canvas with anti-aliased coverage fills.
//
// Pixels are stored premultiplied in 0..1 floats. Shapes are given as signed
// distance functions in design units (1x pixels); a Painter maps one frame of
// a sheet to those units at the sheet's resolution level, so the same drawing
// code renders natively at 1x, 2x and 4x with a one-pixel-wide edge ramp.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/assetgen/vec.h"

namespace assetgen {

// A straight (not premultiplied) colour, components 0..1.
struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

// Colour from 0..255 components and an opacity 0..1.
constexpr Color Rgb(int r, int g, int b, float a = 1.0f) {
    return Color{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

inline Color Mix(Color x, Color y, float t) {
    return Color{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                 x.a + (y.a - x.a) * t};
}

inline Color WithAlpha(Color c, float a) {
    c.a = a;
    return c;
}

// Lighter (t > 0, towards white) or darker (t < 0, towards black).
inline Color Shade(Color c, float t) {
    Color target = t > 0 ? Color{1, 1, 1, c.a} : Color{0, 0, 0, c.a};
    return Mix(c, target, std::fabs(t));
}

inline float Clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

inline float SmoothStep(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), px_(4 * width * height, 0.0f) {}

    int width() const { return width_; }
    int height() const { return height_; }
    float *at(int x, int y) { return &px_[4 * (y * width_ + x)]; }
    const float *at(int x, int y) const { return &px_[4 * (y * width_ + x)]; }

    // Source-over of a straight colour with an extra coverage factor.
    void Blend(int x, int y, Color c, float coverage) {
        float a = c.a * coverage;
        if (a <= 0) return;
        float *p = at(x, y);
        float k = 1 - a;
        p[0] = c.r * a + p[0] * k;
        p[1] = c.g * a + p[1] * k;
        p[2] = c.b * a + p[2] * k;
        p[3] = a + p[3] * k;
    }

    // Destination-out: removes coverage from what is there.
    void Erase(int x, int y, float coverage) {
        float *p = at(x, y);
        float k = 1 - Clamp01(coverage);
        for (int i = 0; i < 4; ++i) p[i] *= k;
    }

    // Copies src into this canvas at (dx, dy), source-over, optionally
    // magnified by a whole factor (nearest neighbour).
    void Composite(const Canvas &src, int dx, int dy, int zoom = 1);

    // 8-bit straight RGBA, rounded; fully transparent pixels are all zero.
    std::vector<std::uint8_t> ToRgba8() const;

private:
    int width_, height_;
    std::vector<float> px_;
};

// Axis-aligned rectangle in design units.
struct Box {
    float x0, y0, x1, y1;
};

// Draws into one frame of a canvas. Design unit (0,0) is the frame's
// top-left corner; one design unit is `level` pixels.
class Painter {
public:
    Painter(Canvas &canvas, int originX, int originY, int frameW, int frameH, int level)
        : canvas_(canvas), ox_(originX), oy_(originY), fw_(frameW), fh_(frameH), level_(level) {}

    int level() const { return level_; }
    float width() const { return float(fw_) / level_; }
    float height() const { return float(fh_) / level_; }
    Box frame() const { return Box{0, 0, width(), height()}; }
    // Size of one output pixel in design units.
    float pixel() const { return 1.0f / level_; }
    Canvas &canvas() { return canvas_; }

    // Fills the shape sdf(p) < 0 with colour paint(p), edges anti-aliased over
    // one output pixel, or over `feather` design units when that is wider.
    template <class Sdf, class Paint>
    void Fill(Box bounds, Sdf sdf, Paint paint, float opacity = 1.0f, float feather = 0.0f) {
        float ramp = std::max(1.0f, feather * level_);
        Visit(bounds, [&](int x, int y, Vec2 p) {
            float d = sdf(p) * level_;
            float cov = Clamp01(0.5f - d / ramp);
            if (cov > 0) canvas_.Blend(x, y, paint(p), cov * opacity);
        });
    }
    template <class Sdf>
    void Fill(Box bounds, Sdf sdf, Color c, float opacity = 1.0f, float feather = 0.0f) {
        Fill(
            bounds, sdf, [c](Vec2) { return c; }, opacity, feather);
    }
    template <class Sdf>
    void Fill(Sdf sdf, Color c, float opacity = 1.0f, float feather = 0.0f) {
        Fill(frame(), sdf, c, opacity, feather);
    }

    // Soft halo outside the shape, fading to nothing `radius` units away.
    template <class Sdf>
    void Glow(Box bounds, Sdf sdf, Color c, float radius) {
        Visit(bounds, [&](int x, int y, Vec2 p) {
            float d = sdf(p);
            float t = d <= 0 ? 1.0f : 1.0f - Clamp01(d / radius);
            if (t > 0) canvas_.Blend(x, y, c, t * t);
        });
    }

    // Cuts the shape out of what is already drawn.
    template <class Sdf>
    void Erase(Box bounds, Sdf sdf) {
        Visit(bounds, [&](int x, int y, Vec2 p) {
            float cov = Clamp01(0.5f - sdf(p) * level_);
            if (cov > 0) canvas_.Erase(x, y, cov);
        });
    }

private:
    // Calls f(x, y, p) for every pixel of the frame whose centre p (in
    // design units) lies in the bounds, padded by one pixel for the ramp.
    template <class F>
    void Visit(Box b, F f) {
        int x0 = std::max(0, int(std::floor(b.x0 * level_)) - 2);
        int y0 = std::max(0, int(std::floor(b.y0 * level_)) - 2);
        int x1 = std::min(fw_, int(std::ceil(b.x1 * level_)) + 2);
        int y1 = std::min(fh_, int(std::ceil(b.y1 * level_)) + 2);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Vec2 p{(x + 0.5f) / level_, (y + 0.5f) / level_};
                f(ox_ + x, oy_ + y, p);
            }
        }
    }

    Canvas &canvas_;
    int ox_, oy_, fw_, fh_, level_;
};

// Bounds of a circle, handy for Fill.
inline Box Around(Vec2 c, float r) {
    return Box{c.x - r, c.y - r, c.x + r, c.y + r};
}

}  // namespace assetgen
