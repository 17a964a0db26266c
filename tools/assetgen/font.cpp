// The two font sheets. Glyph pixels are whole design units, so each level
// scales them by a whole number and they stay crisp. A faint dark shadow one
// font pixel down and right keeps tinted text readable over bright artwork;
// both it and the glyph are grey levels, so tinting colours the glyph only.
#include "tools/assetgen/font.h"

#include "tools/assetgen/font_glyphs.h"
#include "tools/assetgen/sdf.h"
#include "tools/assetgen/sheet.h"

namespace assetgen {
namespace {

constexpr float kShadowOpacity = 0.5f;

// Draws character `code` with its glyph's top-left at design unit (x, y).
void DrawGlyph(Painter &p, int code, float x, float y) {
    for (int pass = 0; pass < 2; ++pass) {
        float off = pass == 0 ? 1.0f : 0.0f;
        Color c = pass == 0 ? Color{0, 0, 0, kShadowOpacity} : Color{1, 1, 1, 1};
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int col = 0; col < kGlyphCols; ++col) {
                if (!GlyphPixel(code, col, row)) continue;
                float px = x + col + off, py = y + row + off;
                if (pass == 0) {
                    // Shadow only where it is not covered by the glyph itself.
                    if (GlyphPixel(code, col + 1, row + 1)) continue;
                }
                p.Fill(
                    Box{px, py, px + 1, py + 1},
                    [&](Vec2 q) { return sdf::Rect(q, px, py, px + 1, py + 1); }, c);
            }
        }
    }
}

}  // namespace

ImageSheet EditUndoFontSheet() {
    ImageSheet s;
    s.name = "fonts/editundo";
    s.frameW = s.frameH = kFontCell;
    s.frames = kFontFrames;
    s.columns = 16;
    s.draw = [](Painter &p, int frame) {
        DrawGlyph(p, frame + kFontFirstChar, kFontGlyphLeft, kFontGlyphTop);
    };
    return s;
}

ImageSheet DefaultFontSheet() {
    ImageSheet s;
    s.name = "zuno_font";
    s.frameW = kDefaultFontFrameW;
    s.frameH = kDefaultFontFrameH;
    s.frames = kDefaultFontFrames;
    s.columns = kDefaultFontFrames;  // one row
    s.suffixed = false;
    s.draw = [](Painter &p, int frame) { DrawGlyph(p, frame + kFontFirstChar, 1, 1); };
    return s;
}

int DrawText(Canvas &canvas, int x, int y, const std::string &text, Color color, int zoom) {
    constexpr int kAdvance = kGlyphCols + 2;
    int pen = x;
    for (unsigned char ch : text) {
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int col = 0; col < kGlyphCols; ++col) {
                if (!GlyphPixel(ch, col, row)) continue;
                for (int dy = 0; dy < zoom; ++dy) {
                    for (int dx = 0; dx < zoom; ++dx) {
                        int tx = pen + col * zoom + dx, ty = y + row * zoom + dy;
                        if (tx >= 0 && ty >= 0 && tx < canvas.width() && ty < canvas.height())
                            canvas.Blend(tx, ty, color, 1.0f);
                    }
                }
            }
        }
        pen += kAdvance * zoom;
    }
    return pen - x;
}

}  // namespace assetgen
