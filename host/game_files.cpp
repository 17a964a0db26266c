// BBGame's file operations: opening files by mapped path, reading a whole
// file as bytes or text, and the state file.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/files.h"
#include "host/host.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// Files are read in pieces of this many bytes.
constexpr size_t kReadPiece = 4096;

// Reads the rest of an open file; stops at the first short read.
std::vector<unsigned char> ReadAll(FILE *file) {
    std::vector<unsigned char> bytes;
    for (;;) {
        const size_t at = bytes.size();
        bytes.resize(at + kReadPiece);
        const size_t got = fread(bytes.data() + at, 1, kReadPiece, file);
        bytes.resize(at + got);
        if (got < kReadPiece) break;
    }
    return bytes;
}

}  // namespace

// ---------------------------------------------------------------------------
// Paths and opening
// ---------------------------------------------------------------------------

// A host without a file system: no path names a file.
String BBGame::PathToFilePath(String) {
    return String();
}

FILE *BBGame::OpenFile(String path, String mode) {
    const String file_path = PathToFilePath(path);
    if (file_path.Length() == 0) return nullptr;
    return fopen(host_Utf8(file_path).c_str(), host_Utf8(mode).c_str());
}

// ---------------------------------------------------------------------------
// Whole files
// ---------------------------------------------------------------------------

unsigned char *BBGame::LoadData(String path, int *length) {
    FILE *file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    const std::vector<unsigned char> bytes = ReadAll(file);
    fclose(file);
    // At least one byte, so an empty file still yields a block to free.
    unsigned char *block = static_cast<unsigned char *>(malloc(bytes.empty() ? 1 : bytes.size()));
    if (!bytes.empty()) memcpy(block, bytes.data(), bytes.size());
    *length = static_cast<int>(bytes.size());
    gc_force_sweep = true;
    return block;
}

String BBGame::LoadString(String path) {
    FILE *file = OpenFile(path, String("rb"));
    if (!file) return String();
    const std::vector<unsigned char> bytes = ReadAll(file);
    fclose(file);
    if (bytes.empty()) return String();
    return String::Load(bytes.data(), static_cast<int>(bytes.size()));
}

// ---------------------------------------------------------------------------
// The state file
// ---------------------------------------------------------------------------

String BBGame::LoadState() {
    return LoadString(String(kStateFileName));
}

int BBGame::SaveState(String state) {
    const String file_path = PathToFilePath(String(kStateFileName));
    if (file_path.Length() == 0) return kSaveCannotCreate;
    return host_ReplaceFile(host_Utf8(file_path).c_str(), host_EncodeState(state));
}
