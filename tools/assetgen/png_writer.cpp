// PNG output through stb_image_write, compiled in this translation unit only.
#include "tools/assetgen/png_writer.h"

#include <sys/stat.h>

#include <cerrno>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace assetgen {

bool MakeParentDirs(const std::string &path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/') continue;
        std::string dir = path.substr(0, i);
        if (mkdir(dir.c_str(), 0755) == 0) continue;
        struct stat st;
        if (errno != EEXIST || stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    }
    return true;
}

bool WritePng(const std::string &path, const Canvas &canvas) {
    if (!MakeParentDirs(path)) return false;
    std::vector<std::uint8_t> rgba = canvas.ToRgba8();
    return stbi_write_png(path.c_str(), canvas.width(), canvas.height(), 4, rgba.data(),
                          canvas.width() * 4) != 0;
}

}  // namespace assetgen
