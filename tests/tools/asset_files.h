// Reading the generated asset pack back through the host's loaders.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/host.h"

// The data folder the build wrote.
inline std::string DataDir() {
    return std::string(TESSELON_BINARY_DIR) + "/data";
}

// The host object whose LoadImageData and LoadAudioData the game uses.
inline BBGlfwGame *AssetHost() {
    static BBGlfwGame *host = new BBGlfwGame();
    return host;
}

// A decoded image; empty (width 0) when the loader returned nothing.
struct Picture {
    int width = 0, height = 0, depth = 0;
    std::vector<std::uint8_t> px;

    const std::uint8_t *at(int x, int y) const { return &px[size_t(depth) * (y * width + x)]; }
    int alpha(int x, int y) const { return depth == 4 ? at(x, y)[3] : 255; }
};

inline Picture LoadPicture(const std::string &path) {
    Picture p;
    unsigned char *data =
        AssetHost()->LoadImageData(String(path.c_str()), &p.width, &p.height, &p.depth);
    if (!data) return Picture{};
    p.px.assign(data, data + size_t(p.width) * p.height * p.depth);
    std::free(data);
    return p;
}
