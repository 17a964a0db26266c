// Image decoding for LoadImageData. The bytes are read whole and their PNG
// chunk layout is checked first: files whose chunks overrun the file are
// refused, zero-length data chunks are dropped (they carry no pixels, and
// the decoder mishandles one that comes first), and the rest goes to
// stb_image.
#include "graphics/image_decode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <stb_image.h>

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::size_t kChunkHeaderBytes = 8;  // length, type
constexpr std::size_t kChunkCrcBytes = 4;

// Ask the decoder for the file's own component count.
constexpr int kOwnComponents = 0;

// Bytes read from a file per step.
constexpr std::size_t kReadBlockBytes = 64 * 1024;

// ---------------------------------------------------------------------------
// PNG chunk walk
// ---------------------------------------------------------------------------

std::uint32_t ReadBigEndian32(const unsigned char *p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

bool IsPng(const unsigned char *bytes, std::size_t size) {
    return size >= sizeof kPngSignature &&
           std::memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0;
}

bool IsEmptyDataChunk(const unsigned char *chunk) {
    return ReadBigEndian32(chunk) == 0 && std::memcmp(chunk + 4, "IDAT", 4) == 0;
}

// True when a whole chunk header starting at pos lies within the bytes and
// its data and CRC do too; *next is then the position after the chunk.
bool WholeChunkAt(std::size_t size, const unsigned char *bytes, std::size_t pos,
                  std::size_t *next) {
    if (size - pos < kChunkHeaderBytes) return false;
    std::size_t length = ReadBigEndian32(bytes + pos);
    std::size_t rest = size - pos - kChunkHeaderBytes;
    if (length > rest || rest - length < kChunkCrcBytes) return false;
    *next = pos + kChunkHeaderBytes + length + kChunkCrcBytes;
    return true;
}

bool IsEndChunk(const unsigned char *chunk) {
    return std::memcmp(chunk + 4, "IEND", 4) == 0;
}

// The chunk layout of a PNG, from the signature up to and including IEND.
struct ChunkScan {
    bool whole = false;           // every chunk up to IEND lies within the bytes
    bool hasEmptyData = false;    // some IDAT chunk has length 0
    std::size_t endOfChunks = 0;  // position after IEND
};

// A chunk that declares more bytes than the file holds makes the file
// undecodable, but the decoder reserves memory for the declared length
// before it notices: a file of a few hundred bytes could ask for gigabytes.
// Such files, and files without IEND, are refused here.
ChunkScan ScanChunks(const unsigned char *bytes, std::size_t size) {
    ChunkScan scan;
    std::size_t pos = sizeof kPngSignature, next = 0;
    while (WholeChunkAt(size, bytes, pos, &next)) {
        if (IsEmptyDataChunk(bytes + pos)) scan.hasEmptyData = true;
        bool end = IsEndChunk(bytes + pos);
        pos = next;
        if (end) {
            scan.whole = true;
            scan.endOfChunks = pos;
            break;
        }
    }
    return scan;
}

// A copy of the PNG without its zero-length IDAT chunks; whatever follows
// IEND is kept as it is.
std::vector<unsigned char> WithoutEmptyDataChunks(const unsigned char *bytes, std::size_t size,
                                                  const ChunkScan &scan) {
    std::vector<unsigned char> out(bytes, bytes + sizeof kPngSignature);
    std::size_t pos = sizeof kPngSignature, next = 0;
    while (pos < scan.endOfChunks && WholeChunkAt(size, bytes, pos, &next)) {
        if (!IsEmptyDataChunk(bytes + pos)) out.insert(out.end(), bytes + pos, bytes + next);
        pos = next;
    }
    out.insert(out.end(), bytes + pos, bytes + size);
    return out;
}

unsigned char *DecodeWithStb(const unsigned char *bytes, std::size_t size, int *width, int *height,
                             int *depth) {
    if (size == 0 || size > kImageFileMaxBytes) return nullptr;
    int w = 0, h = 0, n = 0;
    unsigned char *pixels =
        stbi_load_from_memory(bytes, static_cast<int>(size), &w, &h, &n, kOwnComponents);
    if (!pixels) return nullptr;
    *width = w;
    *height = h;
    *depth = n;
    return pixels;
}

}  // namespace

// ---------------------------------------------------------------------------
// Decoding
// ---------------------------------------------------------------------------

unsigned char *graphics_DecodeImage(const unsigned char *bytes, std::size_t size, int *width,
                                    int *height, int *depth) {
    if (!bytes || !IsPng(bytes, size)) return nullptr;
    ChunkScan scan = ScanChunks(bytes, size);
    if (!scan.whole) return nullptr;
    if (scan.hasEmptyData) {
        std::vector<unsigned char> cleaned = WithoutEmptyDataChunks(bytes, size, scan);
        return DecodeWithStb(cleaned.data(), cleaned.size(), width, height, depth);
    }
    return DecodeWithStb(bytes, size, width, height, depth);
}

unsigned char *graphics_DecodeImageFile(FILE *file, int *width, int *height, int *depth) {
    std::vector<unsigned char> bytes;
    unsigned char block[kReadBlockBytes];
    for (;;) {
        std::size_t got = std::fread(block, 1, sizeof block, file);
        if (bytes.size() + got > kImageFileMaxBytes) return nullptr;
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block) break;
    }
    if (std::ferror(file)) return nullptr;
    return graphics_DecodeImage(bytes.data(), bytes.size(), width, height, depth);
}
