// Window icon files: every PNG component count arrives as RGBA, and missing
// or damaged files are refused without output.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "host/window_icon.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

using Bytes = std::vector<unsigned char>;

class WindowIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tesselon-icon.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    std::string Path(const std::string &name) const { return dir_ + "/" + name; }

    std::string WritePng(const std::string &name, int width, int height, int depth,
                         const Bytes &pixels) const {
        std::string path = Path(name);
        EXPECT_NE(stbi_write_png(path.c_str(), width, height, depth, pixels.data(), width * depth),
                  0);
        return path;
    }

    std::string WriteBytes(const std::string &name, const Bytes &bytes) const {
        std::string path = Path(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::string dir_;
};

TEST_F(WindowIconTest, EveryComponentCountBecomesRgba) {
    struct Case {
        int depth;
        Bytes pixels;  // two pixels, left to right
        Bytes rgba;
    };
    const Case cases[] = {
        {1, {10, 200}, {10, 10, 10, 255, 200, 200, 200, 255}},
        {2, {10, 0, 200, 128}, {10, 10, 10, 0, 200, 200, 200, 128}},
        {3, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 255, 4, 5, 6, 255}},
        {4, {1, 2, 3, 0, 4, 5, 6, 77}, {1, 2, 3, 0, 4, 5, 6, 77}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.depth);
        std::string path = WritePng("icon.png", 2, 1, c.depth, c.pixels);
        int width = 0, height = 0;
        Bytes rgba;
        ASSERT_TRUE(LoadWindowIcon(path.c_str(), &width, &height, &rgba));
        EXPECT_EQ(width, 2);
        EXPECT_EQ(height, 1);
        EXPECT_EQ(rgba, c.rgba);
    }
}

TEST_F(WindowIconTest, MissingOrDamagedFilesAreRefusedQuietly) {
    std::string good = WritePng("good.png", 8, 8, 4, Bytes(8 * 8 * 4, 99));
    std::ifstream in(good, std::ios::binary);
    Bytes whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string paths[] = {
        Path("missing.png"),
        WriteBytes("empty.png", {}),
        WriteBytes("text.png", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}),
        WriteBytes("cut.png", Bytes(whole.begin(), whole.begin() + whole.size() / 2)),
        dir_,  // a folder
    };
    for (const std::string &path : paths) {
        SCOPED_TRACE(path);
        int width = -1, height = -1;
        Bytes rgba = {7};
        testing::internal::CaptureStdout();
        EXPECT_FALSE(LoadWindowIcon(path.c_str(), &width, &height, &rgba));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(width, -1);
        EXPECT_EQ(height, -1);
        EXPECT_EQ(rgba, Bytes{7});
    }
}

}  // namespace
