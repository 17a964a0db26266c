// The pack's one palette: deep blues for ground, a cyan-violet-coral-gold
// accent ramp, and a dark ink for outlines.
#pragma once

#include "tools/assetgen/raster.h"

namespace assetgen::pal {

constexpr Color kBackground = Rgb(0, 0, 80);  // the game's clear colour
constexpr Color kNight = Rgb(0, 0, 46);
constexpr Color kDeep = Rgb(10, 16, 104);
constexpr Color kFloorTop = Rgb(34, 50, 150);
constexpr Color kFloorBottom = Rgb(20, 30, 118);
constexpr Color kInk = Rgb(6, 6, 40);

constexpr Color kCyan = Rgb(64, 214, 255);
constexpr Color kSky = Rgb(120, 170, 255);
constexpr Color kViolet = Rgb(150, 96, 255);
constexpr Color kMagenta = Rgb(226, 74, 206);
constexpr Color kCoral = Rgb(255, 88, 104);
constexpr Color kAmber = Rgb(255, 150, 44);
constexpr Color kGold = Rgb(255, 204, 70);
constexpr Color kMint = Rgb(96, 236, 150);
constexpr Color kSlate = Rgb(118, 128, 170);
constexpr Color kWhite = Rgb(255, 255, 255);

// The accent ramp along t in 0..1 (used by the logo, icons and badges).
Color Accent(float t);

}  // namespace assetgen::pal
