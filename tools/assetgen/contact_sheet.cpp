// Contact sheet layout. Frames are shown at the "-hd" level (what a 640 by
// 480 window loads), except the large backdrop frames, shown at 1x.
#include "tools/assetgen/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/assetgen/font.h"
#include "tools/assetgen/palette.h"

namespace assetgen {
namespace {

constexpr int kSheetWidth = 2000;
constexpr int kMargin = 24;
constexpr int kGap = 6;
constexpr int kLabelZoom = 2;
constexpr int kLabelHeight = 30;

const Color kLabel = Rgb(255, 220, 140);
const Color kCellBack = Rgb(12, 16, 110);

void FillRect(Canvas &c, int x, int y, int w, int h, Color col) {
    for (int j = std::max(0, y); j < std::min(c.height(), y + h); ++j)
        for (int i = std::max(0, x); i < std::min(c.width(), x + w); ++i) c.Blend(i, j, col, 1);
}

// Copies one frame (sx, sy, w, h) of src to (dx, dy) with a cell behind it.
void CopyFrame(Canvas &dst, const Canvas &src, int sx, int sy, int w, int h, int dx, int dy) {
    FillRect(dst, dx, dy, w, h, kCellBack);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float *s = src.at(sx + x, sy + y);
            float *d = dst.at(dx + x, dy + y);
            for (int i = 0; i < 4; ++i) d[i] = s[i] + d[i] * (1 - s[3]);
        }
    }
}

struct Section {
    std::string label;
    Canvas pixels;
    int frameW, frameH, frames, columns;
};

int SectionHeight(const Section &s) {
    int perRow = std::max(1, (kSheetWidth - 2 * kMargin + kGap) / (s.frameW + kGap));
    int rows = (s.frames + perRow - 1) / perRow;
    return kLabelHeight + rows * (s.frameH + kGap) + kMargin;
}

int DrawSection(Canvas &out, const Section &s, int y) {
    DrawText(out, kMargin, y, s.label, kLabel, kLabelZoom);
    y += kLabelHeight;
    int perRow = std::max(1, (kSheetWidth - 2 * kMargin + kGap) / (s.frameW + kGap));
    for (int f = 0; f < s.frames; ++f) {
        int sx = (f % s.columns) * s.frameW, sy = (f / s.columns) * s.frameH;
        int dx = kMargin + (f % perRow) * (s.frameW + kGap);
        int dy = y + (f / perRow) * (s.frameH + kGap);
        CopyFrame(out, s.pixels, sx, sy, s.frameW, s.frameH, dx, dy);
    }
    return y + SectionHeight(s) - kLabelHeight;
}

const ImageSheet *Find(const std::vector<ImageSheet> &sheets, const std::string &name) {
    for (const ImageSheet &s : sheets)
        if (s.name == name) return &s;
    return nullptr;
}

// Draws frame f of a sheet rendered at `level` the way the game does: its
// centre on (cx, cy), scaled by scale / level, sampled nearest-neighbour.
void Stamp(Canvas &dst, const ImageSheet &sheet, const Canvas &render, int level, int f, float cx,
           float cy, float scale, Color tint = Color{1, 1, 1, 1}) {
    int fw = sheet.frameW * level, fh = sheet.frameH * level;
    int sx = (f % sheet.columns) * fw, sy = (f / sheet.columns) * fh;
    float k = scale / level;
    float x0 = cx - fw * k / 2, y0 = cy - fh * k / 2;
    for (int y = std::max(0, int(y0)); y < std::min(dst.height(), int(y0 + fh * k) + 1); ++y) {
        for (int x = std::max(0, int(x0)); x < std::min(dst.width(), int(x0 + fw * k) + 1); ++x) {
            int u = int((x + 0.5f - x0) / k), v = int((y + 0.5f - y0) / k);
            if (u < 0 || v < 0 || u >= fw || v >= fh) continue;
            const float *s = render.at(sx + u, sy + v);
            float *d = dst.at(x, y);
            const float t[4] = {tint.r, tint.g, tint.b, 1};
            for (int i = 0; i < 4; ++i) d[i] = s[i] * t[i] + d[i] * (1 - s[3]);
        }
    }
}

// Writes text with the game's font sheet as the game's text drawing does:
// centred on (x, y), advancing 7 and stepping 10 per line at scale 1.
void MockText(Canvas &dst, const ImageSheet &font, const Canvas &render, int level,
              const std::string &text, float x, float y, float scale, Color tint) {
    float advance = 7 * scale;
    float pen = x - 0.5f * advance * (float(text.size()) - 1);
    for (unsigned char ch : text) {
        if (ch > 32 && ch < 160) Stamp(dst, font, render, level, ch - 32, pen, y, scale, tint);
        pen += advance;
    }
}

// A board in play and the title screen as a 640 by 480 window shows them:
// "-hd" artwork drawn at half scale, as the game's draw list does.
Canvas MockUps(const std::vector<ImageSheet> &sheets) {
    constexpr int kLevel = 2;
    Canvas out(3 * 640 + 2 * kGap, 480);
    const ImageSheet *gfx = Find(sheets, "gfx");
    const ImageSheet *menu = Find(sheets, "menu");
    const ImageSheet *logo = Find(sheets, "logo");
    const ImageSheet *buttons = Find(sheets, "common/Buttons");
    const ImageSheet *icons = Find(sheets, "common/icons");
    const ImageSheet *font = Find(sheets, "fonts/editundo");
    if (!gfx || !menu || !logo || !buttons || !icons || !font) return out;
    Canvas fontRender = RenderSheet(*font, kLevel);
    const Color white{1, 1, 1, 1};
    FillRect(out, 0, 0, 640, 480, pal::kBackground);
    Canvas board = RenderSheet(*gfx, kLevel);
    // Cells: a trail behind the player (digits give the steps left), tokens
    // (T), a wall (W), a wall being announced (w) and the chaser (c).
    const char *layout[8] = {"..1.....", ".WW...c.", "........", "..w.345.",
                             "..w.2...", "..w.1p..", "...8767T", "....T..."};
    const float k = 480.0f / 530, pitch = 64 * k;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            float cx = 320 - 224 * k + x * pitch, cy = 240 - 224 * k + y * pitch;
            char ch = layout[y][x];
            int base = 0;
            if (ch >= '1' && ch <= '8') base = (ch - '0') + 3;
            if (ch == 'W') base = 12;
            if (ch == 'p') base = 11;
            Stamp(out, *gfx, board, kLevel, base, cx, cy, k);
            if (ch == 'w') Stamp(out, *gfx, board, kLevel, 13, cx, cy, k);
            if (ch == 'T') {
                Stamp(out, *gfx, board, kLevel, 1, cx, cy, k);
                MockText(out, *font, fontRender, kLevel, " " + std::to_string(x + 1), cx, cy, 2,
                         white);
            }
            if (ch == 'p') Stamp(out, *gfx, board, kLevel, 2, cx, cy, k);
            if (ch == 'c') Stamp(out, *gfx, board, kLevel, 3, cx, cy, k);
        }
    }
    Canvas iconRender = RenderSheet(*icons, kLevel);
    Stamp(out, *icons, iconRender, kLevel, 0, 16, 16, 1);
    MockText(out, *font, fontRender, kLevel, "00000123", 320, 32, 2, Rgb(100, 255, 100));
    // Title screen.
    Canvas title(640, 480);
    Canvas back = RenderSheet(*menu, kLevel);
    Stamp(title, *menu, back, kLevel, 0, 320, 240, 3);
    Canvas logoRender = RenderSheet(*logo, kLevel);
    Stamp(title, *logo, logoRender, kLevel, 0, 256, 96, 2);
    FillRect(title, 500, 0, 140, 480, Color{0, 0, 0, 0.4f});
    Canvas buttonRender = RenderSheet(*buttons, kLevel);
    Stamp(title, *buttons, buttonRender, kLevel, 1, 256, 336, 2);
    Stamp(title, *icons, iconRender, kLevel, 4, 32, 240, 2, Rgb(50, 250, 50));
    // Score lists: left-aligned at scale 1.5, one line every 15 pixels.
    auto list = [&](const std::string &head, float y, Color c, int first) {
        auto line = [&](const std::string &t, float ly) {
            MockText(title, *font, fontRender, kLevel, t, 520 + 0.5f * 10.5f * (t.size() - 1), ly,
                     1.5f, c);
        };
        line(head, y);
        for (int i = 0; i < 10; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, "%11d", first - 97 * i);
            line(text, y + 15 * (i + 1));
        }
    };
    list("Top 10", 60 + 7.5f, Rgb(255, 200, 100), 1200);
    list("Last 10", 260 + 7.5f, Rgb(200, 255, 100), 900);
    out.Composite(title, 640 + kGap, 0);
    // Credits box, fully open, over the title screen.
    const ImageSheet *card = Find(sheets, "common/Testcard_Circle");
    const ImageSheet *brand = Find(sheets, "common/RuvoLogo");
    if (!card || !brand) return out;
    Canvas credits = title;
    const float s = 640.0f / 12;
    const int cols = 12, rows = 9;
    for (int i = 0; i <= cols; ++i) {
        for (int j = 0; j <= rows; ++j) {
            int x = int(s * i - s / 2), y = int(s * j - s / 2), z = int(s);
            bool rim = i == 0 || i == cols || j == 0 || j == rows;
            FillRect(credits, x, y, z + 1, z + 1, rim ? Rgb(0, 0, 0) : Rgb(255, 255, 255));
            if (!rim) {
                int dx = 2, dw = 4;
                if (j == rows - 1 && i > 3 && i < cols - 2)
                    dx = -6, dw = (i == cols - 3) ? -4 : -24;
                FillRect(credits, x + dx, y + 2, z - dw, z - 4, Rgb(128, 128, 128));
            } else if (!((i == 0 || i == cols) && (j == 0 || j == rows))) {
                float u = 512.0f / (cols - 2) * (i - 1), v = 512.0f / (rows - 2) * (j - 1);
                auto T = [](float q) { return std::clamp(int(q), 0, 255); };
                Color c;
                if (j == 0) c = Rgb(T(u), T(512 - u), 0);
                if (i == 0) c = Rgb(0, T(512 - v), T(v));
                if (i == cols) c = Rgb(T(512 - v), 0, T(v));
                if (j == rows) {
                    int g = T((i - 1) * 255.0f / (cols - 2));
                    c = Rgb(g, g, g);
                }
                bool side = i == 0 || i == cols;
                FillRect(credits, x + (side ? 0 : 8), y + (side ? 8 : 0), z - (side ? 0 : 16),
                         z - (side ? 16 : 0), c);
            }
        }
    }
    Canvas cardRender = RenderSheet(*card, kLevel);
    Stamp(credits, *card, cardRender, kLevel, 0, 320, 240, 1);
    const char *lines[] = {"A Game by", "somebody", "", "-=-=-", "", "Developed using", "Vantix"};
    for (int k = -3; k <= 3; ++k) {
        float f = std::clamp(std::fabs(16.0f * k / 40) - 0.3f, 0.0f, 1.0f);
        MockText(credits, *font, fontRender, kLevel, lines[k + 3], 320 + 24 - 0.8f * 0.5f * 7 * 8,
                 240 + 16 * k, 1, Color{1, 1, 1, 1 - f});
    }
    Stamp(credits, *logo, logoRender, kLevel, 0, 320, s * (rows - 1), 0.4f);
    Canvas brandRender = RenderSheet(*brand, kLevel);
    for (int d = 0; d < 4; ++d) {
        float X = (d % 2) ? (cols - 1.5f) * s : 1.5f * s,
              Y = (d / 2) ? (rows - 1.5f) * s : 1.5f * s;
        for (int y = int(Y - s); y <= int(Y + s); ++y)
            for (int x = int(X - s); x <= int(X + s); ++x) {
                float r = std::hypot(x + 0.5f - X, y + 0.5f - Y);
                if (r < s)
                    credits.Blend(x, y, r < s - 3 ? Rgb(128, 128, 128) : Rgb(255, 255, 255), 1);
            }
        if (d == 2) Stamp(credits, *buttons, buttonRender, kLevel, 12, X, Y, 1);
        if (d == 3) Stamp(credits, *brand, brandRender, kLevel, 0, X, Y, 0.3f);
        if (d < 2) {
            const char *t[3] = {" 640", " 480", " 60"};
            for (int l = 0; l < 3; ++l)
                MockText(credits, *font, fontRender, kLevel, t[l], X, Y - 16 + 16 * l, 1, white);
        }
    }
    out.Composite(credits, 2 * (640 + kGap), 0);
    return out;
}

}  // namespace

Canvas RenderContactSheet(const std::vector<ImageSheet> &sheets) {
    std::vector<Section> sections;
    for (const ImageSheet &s : sheets) {
        int level = (s.frameW >= 256) ? 1 : 2;
        if (!s.suffixed) level = 1;
        char label[160];
        std::snprintf(label, sizeof label, "%s.png  %dx%d x%d  (shown at %dx)", s.name.c_str(),
                      s.frameW, s.frameH, s.frames, level);
        Canvas px = RenderSheet(s, level);
        int zoom = s.suffixed ? 1 : 3;
        if (zoom > 1) {
            Canvas big(px.width() * zoom, px.height() * zoom);
            big.Composite(px, 0, 0, zoom);
            px = big;
        }
        sections.push_back({label, std::move(px), s.frameW * level * zoom, s.frameH * level * zoom,
                            s.frames, s.columns});
    }
    Canvas mock = MockUps(sheets);
    int height = kMargin + kLabelHeight + mock.height() + kMargin;
    for (const Section &s : sections) height += SectionHeight(s);
    Canvas out(kSheetWidth, height);
    FillRect(out, 0, 0, kSheetWidth, height, pal::kBackground);
    int y = kMargin;
    DrawText(out, kMargin, y, "Tesselon asset pack: board and title mock-ups at 640x480", kLabel,
             kLabelZoom);
    y += kLabelHeight;
    out.Composite(mock, kMargin, y);
    y += mock.height() + kMargin;
    for (const Section &s : sections) y = DrawSection(out, s, y);
    return out;
}

}  // namespace assetgen
