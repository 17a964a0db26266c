// Mosaic letters: 3-by-5 tile shapes (N is 4 wide).
#include "tools/assetgen/mosaic.h"

#include <cmath>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/sdf.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr int kRows = 5;

const char *LetterRows(char ch) {
    switch (ch) {
        case 'T':
            return "###.#..#..#..#.";
        case 'E':
            return "####..##.#..###";
        case 'S':
            return ".###...#...###.";
        case 'L':
            return "#..#..#..#..###";
        case 'O':
            return "####.##.##.####";
        case 'N':
            return "#..###.##.###..##..#";  // 4 wide
        case 'V':
            return "#.##.##.##.#.#.";
        case 'X':
            return "#.##.#.#.#.##.#";
        default:
            return "...............";
    }
}

int LetterWidth(char ch) {
    return ch == 'N' ? 4 : 3;
}

// Signed distance to the union of tiles near q (neighbouring cells only,
// which is exact for the small distances the drawing asks about).
float TileField(const MosaicWord &w, Vec2 origin, float cell, float inset, float radius, Vec2 q) {
    float gx = (q.x - origin.x) / cell, gy = (q.y - origin.y) / cell;
    int cx = int(std::floor(gx)), cy = int(std::floor(gy));
    float d = 1e9f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (!w.at(cx + dx, cy + dy)) continue;
            Vec2 c{origin.x + (cx + dx + 0.5f) * cell, origin.y + (cy + dy + 0.5f) * cell};
            float h = cell / 2 - inset;
            d = std::min(d, sdf::RoundBox(q, c, {h, h}, radius));
        }
    }
    return d;
}

}  // namespace

MosaicWord LayOutMosaic(const std::string &word) {
    MosaicWord w;
    w.rows = kRows;
    for (size_t i = 0; i < word.size(); ++i) w.cols += LetterWidth(word[i]) + (i ? 1 : 0);
    w.cells.assign(w.cols * w.rows, false);
    int x = 0;
    for (char ch : word) {
        const char *rows = LetterRows(ch);
        int lw = LetterWidth(ch);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < lw; ++c) w.cells[r * w.cols + x + c] = rows[r * lw + c] == '#';
        x += lw + 1;
    }
    return w;
}

void DrawMosaic(Painter &p, const MosaicWord &w, Vec2 origin, float cell) {
    const float gap = cell * 0.06f, radius = cell * 0.22f, outline = cell * 0.24f;
    Box b{origin.x - cell, origin.y - cell, origin.x + (w.cols + 1) * cell,
          origin.y + (w.rows + 1) * cell};
    auto tiles = [&](Vec2 q) { return TileField(w, origin, cell, gap, radius, q); };
    // Shadow and outline grow the tiles into one joined letter shape.
    Vec2 drop{cell * 0.22f, cell * 0.38f};
    p.Fill(
        b, [&](Vec2 q) { return tiles(q - drop) - outline; }, pal::kInk, 0.55f, cell * 0.3f);
    p.Fill(
        b, [&](Vec2 q) { return tiles(q) - outline; }, pal::kInk);
    for (int r = 0; r < w.rows; ++r) {
        for (int c = 0; c < w.cols; ++c) {
            if (!w.at(c, r)) continue;
            Vec2 centre{origin.x + (c + 0.5f) * cell, origin.y + (r + 0.5f) * cell};
            Color col = pal::Accent((c + 0.5f) / w.cols * 0.92f + 0.04f * std::sin(r + c * 1.7f));
            float h = cell / 2 - gap;
            style::Tile(p, centre, {h, h}, radius, Shade(col, 0.3f), Shade(col, -0.22f));
        }
    }
}

}  // namespace assetgen
