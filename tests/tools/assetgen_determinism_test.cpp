// The generator writes the same bytes on every run, so the data folder does
// not churn and a build is reproducible.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

// Runs the generator into `out` and returns its exit status (-1 if it could
// not be started).
int RunGenerator(const fs::path &out) {
    std::string data = (out / "data").string(), icons = (out / "icons").string();
    std::string sheet = (out / "sheet.png").string();
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        execl(TESSELON_ASSETGEN, TESSELON_ASSETGEN, data.c_str(), "--icons", icons.c_str(),
              "--contact-sheet", sheet.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Every regular file under root, by relative path, with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path &root) {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/tesselon-assetgen.XXXXXX";
        const char *made = mkdtemp(pattern);
        path_ = made ? made : "";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path &path() const { return path_; }

private:
    fs::path path_;
};

TEST(AssetGenerator, TwoRunsWriteTheSameBytes) {
    ScratchFolder first, second;
    ASSERT_FALSE(first.path().empty());
    ASSERT_FALSE(second.path().empty());
    ASSERT_EQ(RunGenerator(first.path()), 0);
    ASSERT_EQ(RunGenerator(second.path()), 0);
    auto a = Snapshot(first.path()), b = Snapshot(second.path());
    ASSERT_GT(a.size(), 40u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto &[name, bytes] : a) {
        auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
}

TEST(AssetGenerator, UnwritableFolderFailsWithAMessage) {
    ScratchFolder dir;
    ASSERT_FALSE(dir.path().empty());
    // A plain file where the data folder should be.
    std::ofstream(dir.path() / "data") << "not a folder";
    EXPECT_EQ(RunGenerator(dir.path()), 1);
}

}  // namespace
