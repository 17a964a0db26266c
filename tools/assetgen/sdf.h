// Signed distance functions in design units: negative inside, positive
// outside, magnitude roughly the distance to the edge.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/vec.h"

namespace assetgen::sdf {

inline float Circle(Vec2 p, Vec2 c, float r) {
    return Length(p - c) - r;
}

inline float Ellipse(Vec2 p, Vec2 c, float rx, float ry) {
    // Scaled-circle approximation; good enough for moderately round shapes.
    Vec2 q{(p.x - c.x) / rx, (p.y - c.y) / ry};
    float k = Length(q);
    return (k - 1) * std::min(rx, ry);
}

// Rounded rectangle centred on c with half extents h and corner radius r.
inline float RoundBox(Vec2 p, Vec2 c, Vec2 h, float r) {
    float qx = std::fabs(p.x - c.x) - h.x + r;
    float qy = std::fabs(p.y - c.y) - h.y + r;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

inline float Rect(Vec2 p, float x0, float y0, float x1, float y1) {
    return RoundBox(p, {(x0 + x1) / 2, (y0 + y1) / 2}, {(x1 - x0) / 2, (y1 - y0) / 2}, 0);
}

// Line segment a-b thickened by r (a capsule).
inline float Capsule(Vec2 p, Vec2 a, Vec2 b, float r) {
    Vec2 pa = p - a, ba = b - a;
    float h = std::clamp(Dot(pa, ba) / std::max(1e-6f, Dot(ba, ba)), 0.0f, 1.0f);
    return Length(pa - ba * h) - r;
}

inline float Ring(Vec2 p, Vec2 c, float r, float halfWidth) {
    return std::fabs(Length(p - c) - r) - halfWidth;
}

// Ring limited to the angles [from, to] (radians, 0 up, clockwise), with
// round ends.
inline float Arc(Vec2 p, Vec2 c, float r, float halfWidth, float from, float to) {
    Vec2 d = p - c;
    float ang = std::atan2(d.x, -d.y);
    float mid = (from + to) / 2, half = (to - from) / 2;
    float rel = std::remainder(ang - mid, 2 * kPi);
    if (std::fabs(rel) <= half) return std::fabs(Length(d) - r) - halfWidth;
    Vec2 e1 = Polar(c, r, from), e2 = Polar(c, r, to);
    return std::min(Length(p - e1), Length(p - e2)) - halfWidth;
}

// Closed polygon (any winding, may be concave).
inline float Polygon(Vec2 p, const Vec2 *v, int n) {
    float d = Dot(p - v[0], p - v[0]);
    float s = 1;
    for (int i = 0, j = n - 1; i < n; j = i, ++i) {
        Vec2 e = v[j] - v[i], w = p - v[i];
        Vec2 b = w - e * std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f);
        d = std::min(d, Dot(b, b));
        bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}
inline float Polygon(Vec2 p, const std::vector<Vec2> &v) {
    return Polygon(p, v.data(), int(v.size()));
}

// Regular polygon with `sides` corners at radius r, first corner at angle rot.
std::vector<Vec2> RegularPolygon(Vec2 c, float r, int sides, float rot = 0);
// Star with `points` tips at radius outer and notches at radius inner.
std::vector<Vec2> Star(Vec2 c, float outer, float inner, int points, float rot = 0);

inline float Union(float a, float b) {
    return std::min(a, b);
}
inline float Intersect(float a, float b) {
    return std::max(a, b);
}
inline float Subtract(float a, float b) {
    return std::max(a, -b);
}

}  // namespace assetgen::sdf
