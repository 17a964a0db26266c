// Path mapping, whole-file loading and the state file: its exact bytes, its
// decodings, and saves that fail part-way without touching the old state.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/files.h"
#include "host/host.h"
#include "host/platform.h"

namespace {

using Bytes = std::vector<unsigned char>;

String U16(std::u16string text) {
    return String(text.data(), static_cast<int>(text.size()));
}

std::string Narrow(const String &s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

Bytes ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FolderEntries(const std::string &folder) {
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    if (!dir) return names;
    while (dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

// Each test runs in a fresh working folder, as the game does from its own.
class FilesTest : public ::testing::Test {
protected:
    std::string folder;
    std::string previous;
    BBGlfwGame *host = nullptr;

    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous = cwd;
        char name[] = "/tmp/tesselon-files.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        host = new BBGlfwGame(nullptr);
    }

    void TearDown() override {
        delete host;
        ASSERT_EQ(chdir(previous.c_str()), 0);
        const std::string command = "rm -rf '" + folder + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
};

TEST_F(FilesTest, AssetNamesBecomeVantixPathsAndMapIntoTheWorkingFolder) {
    struct Case {
        const char *name;
        const char *fixed;   // bb_data_FixDataPath
        const char *mapped;  // PathToFilePath of the fixed path
    };
    const Case cases[] = {
        {"gfx.png", "vantix://data/gfx.png", "./data/gfx.png"},
        {"gfx/a.png", "vantix://data/gfx/a.png", "./data/gfx/a.png"},
        {"vantix://data/x", "vantix://data/x", "./data/x"},
        {"vantix://internal/a", "vantix://internal/a", "./internal/a"},
        {"vantix://external/b/c", "vantix://external/b/c", "./external/b/c"},
        {"vantix://cache/x", "vantix://cache/x", ""},
        {"./gfx.png", "./gfx.png", "./gfx.png"},
        {"/tmp/gfx.png", "/tmp/gfx.png", "/tmp/gfx.png"},
        {"D:/x", "D:/x", "D:/x"},
        {"a/b:/c", "vantix://data/a/b:/c", "./data/a/b:/c"},
        {"x", "vantix://data/x", "./data/x"},
    };
    for (const Case &c : cases) {
        const String fixed = bb_data_FixDataPath(String(c.name));
        EXPECT_EQ(Narrow(fixed), c.fixed) << c.name;
        EXPECT_EQ(Narrow(host->PathToFilePath(fixed)), c.mapped) << c.name;
    }
    // Prefixes are exact and case-sensitive.
    EXPECT_EQ(Narrow(host->PathToFilePath(String("vantix:data/x"))), "");
    EXPECT_EQ(Narrow(host->PathToFilePath(String("Vantix://data/x"))), "Vantix://data/x");
}

TEST_F(FilesTest, OpenFileOpensNothingWithoutALocation) {
    mkdir("data", 0755);
    WriteFile("data/a.txt", {'a'});
    FILE *file = host->OpenFile(String("vantix://data/a.txt"), String("rb"));
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_EQ(host->OpenFile(String("vantix://cache/a.txt"), String("rb")), nullptr);

    // The platform-neutral host has no file system at all.
    BBGame neutral;
    EXPECT_EQ(neutral.OpenFile(String("./data/a.txt"), String("rb")), nullptr);
    EXPECT_EQ(neutral.SaveState(String("abc")), kSaveCannotCreate);
    EXPECT_EQ(neutral.LoadState().Length(), 0);
    BBGame::_game = host;
}

TEST_F(FilesTest, PathsWithWideCharactersAreOpenedAsUtf8) {
    FILE *file = host->OpenFile(U16(u"caf\u00e9 \u20ac.txt"), String("wb"));
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_EQ(FolderEntries("."), std::vector<std::string>{"caf\xc3\xa9 \xe2\x82\xac.txt"});
}

TEST_F(FilesTest, LoadDataReadsWholeFilesOfAnySize) {
    Bytes big(10000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 7);
    WriteFile("big.bin", big);
    WriteFile("empty.bin", {});

    gc_force_sweep = false;
    int length = -1;
    unsigned char *data = host->LoadData(String("big.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(Bytes(data, data + length), big);
    EXPECT_TRUE(gc_force_sweep);
    free(data);

    data = host->LoadData(String("empty.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 0);
    free(data);

    length = 123;
    EXPECT_EQ(host->LoadData(String("missing.bin"), &length), nullptr);
    EXPECT_EQ(length, 123);
    gc_force_sweep = false;
}

TEST_F(FilesTest, SaveStateWritesEachUnitAsOneToThreeUtf8Bytes) {
    struct Case {
        std::u16string state;
        Bytes bytes;
    };
    const Case cases[] = {
        {u"abc", {0x61, 0x62, 0x63}},
        {u"\u00e9", {0xc3, 0xa9}},
        {u"\u20ac", {0xe2, 0x82, 0xac}},
        {u"", {}},
        // A character beyond 16 bits: two surrogate units, three bytes each.
        {u"\U0001F600", {0xed, 0xa0, 0xbd, 0xed, 0xb8, 0x80}},
    };
    for (const Case &c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(host->SaveState(U16(c.state)), kSaveOk);
        EXPECT_EQ(ReadFile(kStateFileName), c.bytes);
        const String loaded = host->LoadState();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(loaded == U16(c.state));
        // Only the state file is left behind: no temporary file.
        EXPECT_EQ(FolderEntries("."), std::vector<std::string>{".vantixstate"});
    }
}

TEST_F(FilesTest, ANewStateFileGetsThePermissionsTheUmaskAllows) {
    const struct {
        mode_t umask;
        mode_t mode;
    } cases[] = {{022, 0644}, {077, 0600}, {002, 0664}};
    const mode_t saved = umask(022);
    for (const auto &c : cases) {
        umask(c.umask);
        ASSERT_EQ(host->SaveState(String("abc")), kSaveOk);
        struct stat info;
        ASSERT_EQ(stat(kStateFileName, &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.mode) << "umask " << std::oct << c.umask;
    }
    umask(saved);
}

TEST_F(FilesTest, StateFilesDecodeByTheirByteOrderMarkOrAsUtf8) {
    struct Case {
        const char *what;
        Bytes bytes;
        std::u16string text;
        bool invalid;  // prints "Invalid UTF-8!"
    };
    const Case cases[] = {
        {"UTF-8 mark", {0xef, 0xbb, 0xbf, 0x61, 0x62, 0x63}, u"abc", false},
        {"UTF-16 little-endian", {0xff, 0xfe, 0x61, 0x00}, u"a", false},
        {"UTF-16 big-endian, odd byte ignored", {0xfe, 0xff, 0x00, 0x41, 0x20}, u"A", false},
        {"big-endian mark alone", {0xfe, 0xff}, u"", false},
        {"two- and three-byte forms", {0xc3, 0xa9, 0xe2, 0x82, 0xac}, u"\u00e9\u20ac", false},
        {"lone lead byte", {0xe9}, u"\u00e9", true},
        {"continuation byte", {0x41, 0x80, 0x42}, u"A\u0080B", true},
        {"after a mark", {0xef, 0xbb, 0xbf, 0x41, 0x80, 0x42}, u"A\u0080B", true},
        {"four-byte lead", {0xf0, 0x9f, 0x98, 0x80}, u"\u00f0\u009f\u0098\u0080", true},
    };
    for (const Case &c : cases) {
        WriteFile(kStateFileName, c.bytes);
        testing::internal::CaptureStdout();
        const String loaded = host->LoadState();
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded == U16(c.text)) << c.what;
        EXPECT_EQ(printed, c.invalid ? "Invalid UTF-8!\n" : "") << c.what;
    }
    unlink(kStateFileName);
    EXPECT_EQ(host->LoadState().Length(), 0);
    EXPECT_EQ(host->LoadString(String("vantix://data/missing.txt")).Length(), 0);
}

// ---------------------------------------------------------------------------
// Failed saves
// ---------------------------------------------------------------------------

// Which step of the replacement fails.
enum class Failing { kNone, kOpen, kWrite, kFlush, kSync, kClose, kRename };
Failing failing = Failing::kNone;

FILE *FakeOpenTemp(char *path_template) {
    if (failing == Failing::kOpen) return nullptr;
    return host_SystemFileOps().open_temp(path_template);
}
size_t FakeWrite(const void *data, size_t size, size_t count, FILE *file) {
    // A disk that fills up: one byte short.
    if (failing == Failing::kWrite) return fwrite(data, size, count - 1, file);
    return fwrite(data, size, count, file);
}
int FakeFlush(FILE *file) {
    return failing == Failing::kFlush ? EOF : fflush(file);
}
int FakeSync(FILE *file) {
    return failing == Failing::kSync ? -1 : host_SystemFileOps().sync(file);
}
int FakeClose(FILE *file) {
    const int result = fclose(file);
    return failing == Failing::kClose ? EOF : result;
}
int FakeRename(const char *from, const char *to) {
    return failing == Failing::kRename ? -1 : rename(from, to);
}
const StateFileOps kFakeOps = {FakeOpenTemp, FakeWrite, FakeFlush, FakeSync, FakeClose, FakeRename};

TEST_F(FilesTest, AFailedSaveReportsItAndLeavesThePreviousStateWhole) {
    const Bytes old = host_EncodeState(String("settings|1|2|3|"));
    const Bytes fresh = host_EncodeState(String("settings|4|5|6|and more"));
    struct Case {
        Failing step;
        int result;
    };
    const Case cases[] = {
        {Failing::kOpen, kSaveCannotCreate}, {Failing::kWrite, kSaveIncomplete},
        {Failing::kFlush, kSaveIncomplete},  {Failing::kSync, kSaveIncomplete},
        {Failing::kClose, kSaveIncomplete},  {Failing::kRename, kSaveIncomplete},
    };
    for (const Case &c : cases) {
        WriteFile(kStateFileName, old);
        failing = c.step;
        EXPECT_EQ(host_ReplaceFile(kStateFileName, fresh, kFakeOps), c.result)
            << static_cast<int>(c.step);
        EXPECT_EQ(ReadFile(kStateFileName), old) << static_cast<int>(c.step);
        EXPECT_EQ(FolderEntries("."), std::vector<std::string>{".vantixstate"})
            << static_cast<int>(c.step);
    }
    failing = Failing::kNone;
    EXPECT_EQ(host_ReplaceFile(kStateFileName, fresh, kFakeOps), kSaveOk);
    EXPECT_EQ(ReadFile(kStateFileName), fresh);
}

TEST_F(FilesTest, SavingWhereNoFileCanBeCreatedReturnsMinusOne) {
    // A working folder that no longer exists refuses new files, even to root.
    const std::string gone = folder + "/gone";
    ASSERT_EQ(mkdir(gone.c_str(), 0755), 0);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    EXPECT_EQ(host->SaveState(String("abc")), kSaveCannotCreate);
    ASSERT_EQ(chdir(folder.c_str()), 0);

    // Without write permission on the folder (not enforced for root).
    if (geteuid() != 0) {
        WriteFile(kStateFileName, {'o', 'l', 'd'});
        ASSERT_EQ(chmod(".", 0555), 0);
        EXPECT_EQ(host->SaveState(String("new")), kSaveCannotCreate);
        ASSERT_EQ(chmod(".", 0755), 0);
        EXPECT_EQ(ReadFile(kStateFileName), (Bytes{'o', 'l', 'd'}));
    }
}

}  // namespace
