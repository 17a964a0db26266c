// tesselon_assetgen: writes the game's data folder (artwork at three
// resolutions, fonts, sound effects), the desktop icons and a contact sheet.
//
//   tesselon_assetgen DATA_DIR [--icons DIR] [--contact-sheet FILE.png] [--verbose]
//
// --verbose prints each file with the time it took.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/desktop_icons.h"
#include "tools/assetgen/png_writer.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/sound.h"

using namespace assetgen;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: tesselon_assetgen DATA_DIR [--icons DIR] [--contact-sheet FILE]\n");
    return 2;
}

bool Fail(const std::string &path) {
    std::fprintf(stderr, "tesselon_assetgen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return Usage();
    std::string dataDir = argv[1], iconDir, sheetPath;
    bool verbose = false;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--icons") && i + 1 < argc) {
            iconDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--contact-sheet") && i + 1 < argc) {
            sheetPath = argv[++i];
        } else if (!std::strcmp(argv[i], "--verbose")) {
            verbose = true;
        } else {
            return Usage();
        }
    }
    auto start = std::chrono::steady_clock::now();
    // Give up at once when the output folder cannot be made.
    if (!MakeParentDirs(dataDir + "/")) {
        Fail(dataDir);
        return 1;
    }
    bool ok = true;

    std::vector<ImageSheet> sheets = AllSheets();
    for (const ImageSheet &sheet : sheets) {
        for (int level : kLevels) {
            if (!sheet.suffixed && level != 1) continue;
            std::string path = dataDir + "/" + sheet.FileName(level);
            auto t0 = std::chrono::steady_clock::now();
            if (!WritePng(path, RenderSheet(sheet, level))) ok = Fail(path);
            if (verbose) {
                double ms =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count();
                std::printf("  %-36s %8.1f ms\n", sheet.FileName(level).c_str(), ms);
            }
        }
    }
    for (const SoundEffect &fx : AllSounds()) {
        std::string path = dataDir + "/" + fx.name;
        if (!WriteWav(path, fx.samples, kSampleRate)) ok = Fail(path);
    }
    if (!iconDir.empty()) {
        for (int size : kDesktopIconSizes) {
            std::string path = iconDir + "/" + DesktopIconPath(size);
            if (!WritePng(path, RenderDesktopIcon(size))) ok = Fail(path);
        }
    }
    if (!sheetPath.empty() && !WritePng(sheetPath, RenderContactSheet(sheets)))
        ok = Fail(sheetPath);

    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) {
        std::fprintf(stderr, "tesselon_assetgen: some files were not written\n");
        return 1;
    }
    std::printf("tesselon_assetgen: wrote %s in %.2f s\n", dataDir.c_str(), secs);
    return 0;
}
