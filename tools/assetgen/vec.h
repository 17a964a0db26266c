// 2D vector maths for the shape functions.
#pragma once

#include <cmath>

namespace assetgen {

struct Vec2 {
    float x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}
inline float Dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float Cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
inline float Length(Vec2 a) {
    return std::sqrt(Dot(a, a));
}

// Rotates v by `radians` (counter-clockwise in a y-down frame looks clockwise).
inline Vec2 Rotate(Vec2 v, float radians) {
    float c = std::cos(radians), s = std::sin(radians);
    return {c * v.x - s * v.y, s * v.x + c * v.y};
}

// Point on a circle; angle 0 points up, growing clockwise on screen.
inline Vec2 Polar(Vec2 centre, float radius, float radians) {
    return {centre.x + radius * std::sin(radians), centre.y - radius * std::cos(radians)};
}

constexpr float kPi = 3.14159265358979f;

}  // namespace assetgen
