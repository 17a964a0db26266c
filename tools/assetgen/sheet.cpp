// Sheet layout and the list of every sheet in the pack.
#include "tools/assetgen/sheet.h"

namespace assetgen {

const char *LevelSuffix(int level) {
    switch (level) {
        case 2:
            return "-hd";
        case 4:
            return "-hd2";
        default:
            return "";
    }
}

std::string ImageSheet::FileName(int level) const {
    return name + (suffixed ? LevelSuffix(level) : "") + ".png";
}

Canvas RenderSheet(const ImageSheet &sheet, int level) {
    int fw = sheet.frameW * level, fh = sheet.frameH * level;
    Canvas canvas(sheet.columns * fw, sheet.rows() * fh);
    for (int f = 0; f < sheet.frames; ++f) {
        Painter painter(canvas, (f % sheet.columns) * fw, (f / sheet.columns) * fh, fw, fh, level);
        sheet.draw(painter, f);
    }
    return canvas;
}

std::vector<ImageSheet> AllSheets() {
    return {IconsSheet(),    ButtonsSheet(),      DpadSheet(),       ICadeSheet(), BrandSheet(),
            TestcardSheet(), EditUndoFontSheet(), MenuSheet(),       LogoSheet(),  PartsSheet(),
            BadgesSheet(),   BoardSheet(),        DefaultFontSheet()};
}

}  // namespace assetgen
