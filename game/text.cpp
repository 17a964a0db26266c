// Bitmap text and small string helpers: p_Text lays a string out with the
// current font (one image record per visible character), p_rstr pads a
// number to a fixed width, p_MyNth names the current score's place in the
// best table, p_Rand draws from the runtime's shared generator.
#include "game/myapp.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr int kFirstFontChar = 32;  // frame f shows character f + 32
constexpr int kLastDrawnChar = 159;
constexpr int kBackslashFrame = '\\' - kFirstFontChar;

constexpr int kBestScoresPerMode = 10;

constexpr std::uint32_t kRandMultiplier = 1664525u;
constexpr std::uint32_t kRandIncrement = 1013904223u;
constexpr float kRandScale = 1.0f / 16777216.0f;  // 2^-24
constexpr float kRandTop = 0.99f;

// Sine and cosine of an angle in degrees, exact at multiples of 90 so that
// unrotated text lands on whole pixels.
void SinCosDegrees(float degrees, float &s, float &c) {
    float quarter = degrees / 90.0f;
    if (std::isfinite(quarter) && quarter == std::floor(quarter) && std::fabs(quarter) < 1.0e6f) {
        static const float kSin[4] = {0.0f, 1.0f, 0.0f, -1.0f};
        static const float kCos[4] = {1.0f, 0.0f, -1.0f, 0.0f};
        int q = static_cast<int>(quarter) % 4;
        if (q < 0) q += 4;
        s = kSin[q];
        c = kCos[q];
        return;
    }
    float r = degrees * 3.14159265358979f / 180.0f;
    s = std::sin(r);
    c = std::cos(r);
}

}  // namespace

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY) {
    const int n = text.Length();
    if (n == 0) return 0;
    const int slot = fontSlot >= 0 && fontSlot < kImageSlots ? fontSlot : 0;
    const float w = static_cast<float>(imageInfo[slot * 3]) * drawScaleX;
    const float h = static_cast<float>(imageInfo[slot * 3 + 1]) * drawScaleY;
    float dx, dy, mx, my, s, c;
    SinCosDegrees(90.0f - drawRotation, s, c);
    dx = s;
    dy = -c;
    SinCosDegrees(180.0f - drawRotation, s, c);
    mx = s;
    my = -c;
    const float along = alignX * 0.5f * w * static_cast<float>(n - 1);
    const float across = (alignY - 1.0f) * 0.5f * h;
    const float startX = x - along * dx - across * mx;
    const float startY = y - along * dy - across * my;
    float penX = startX, penY = startY;
    int line = 0;
    for (int i = 0; i < n; ++i) {
        const int code = text[i];
        if (code == '\\' && i + 1 < n && text[i + 1] == 'n') {
            ++line;
            penX = startX + static_cast<float>(line) * h * mx;
            penY = startY + static_cast<float>(line) * h * my;
            ++i;
            continue;
        }
        if (code == 0) continue;
        if (code == '\\') {
            p_DrawImg(fontSlot, penX, penY, static_cast<float>(kBackslashFrame));
        } else if (code > kFirstFontChar && code <= kLastDrawnChar) {
            p_DrawImg(fontSlot, penX, penY, static_cast<float>(code - kFirstFontChar));
        }
        penX += w * dx;
        penY += w * dy;
    }
    return 0;
}

String c_MyApp::p_rstr(int value, int width, String pad) {
    // pad repeated width + 1 times (once for width < 1), then the number;
    // the result is its last width characters (see Slice for width <= 0).
    const int copies = width >= 1 ? width + 1 : 1;
    String number(value);
    const int padLen = pad.Length();
    const long long total =
        static_cast<long long>(padLen) * copies + static_cast<long long>(number.Length());
    std::u16string buffer;
    buffer.reserve(static_cast<std::size_t>(total));
    for (int i = 0; i < copies; ++i) buffer.append(pad.Data(), static_cast<std::size_t>(padLen));
    buffer.append(number.Data(), static_cast<std::size_t>(number.Length()));
    String s(buffer.data(), static_cast<int>(buffer.size()));
    // -width, without overflowing for the most negative int.
    const int from =
        width == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -width;
    return s.Slice(from);
}

String c_MyApp::p_MyNth() {
    static const char *const kOrdinals[kBestScoresPerMode] = {"1st!", "2nd", "3rd", "4th", "5th",
                                                              "6th",  "7th", "8th", "9th", "10th"};
    // A game mode without a table has no place.
    const long long base = (static_cast<long long>(gameMode) - 1) * kBestScoresPerMode;
    if (base < 0 || base + kBestScoresPerMode > kScoreTableInts) return String();
    for (int k = 0; k < kBestScoresPerMode; ++k) {
        if (score >= scoreTable[static_cast<int>(base) + k]) return String(kOrdinals[k]);
    }
    return String();
}

int c_MyApp::p_Rand(float low, float high) {
    std::uint32_t seed =
        static_cast<std::uint32_t>(bb_random_Seed) * kRandMultiplier + kRandIncrement;
    bb_random_Seed = static_cast<int>(seed);
    const float u = static_cast<float>(seed >> 8) * kRandScale;
    const float v = low + (high + kRandTop - low) * u;
    return TruncToInt(std::floor(v));
}
