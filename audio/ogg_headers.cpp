// Ogg Vorbis header checks: reassembles the first two packets of an Ogg
// stream from its pages and checks the Vorbis identification and comment
// headers in them, so that the decoder is only handed files whose header
// lengths and counts fit the packets that carry them.

#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/audio_data.h"

namespace {

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

constexpr int kPageHeaderSize = 27;  // up to and including the segment count
constexpr int kPageSegmentCountOffset = 26;
constexpr int kPageFlagsOffset = 5;
constexpr unsigned char kPageFlagContinued = 1;
constexpr unsigned char kPageFlagFirst = 2;
constexpr unsigned char kPageFlagLast = 4;
constexpr int kLacingContinues = 255;

constexpr unsigned char kPacketIdentification = 1;
constexpr unsigned char kPacketComment = 3;
constexpr size_t kIdentificationSize = 30;
constexpr int kMinBlockSizeLog = 6;
constexpr int kMaxBlockSizeLog = 13;
// The decoder's own channel limit.
constexpr int kMaxChannels = 16;

// ---------------------------------------------------------------------------
// Pages and packets
// ---------------------------------------------------------------------------

struct Page {
    unsigned char flags = 0;
    std::vector<unsigned char> lacing;
};

bool ReadPageHeader(FILE *file, Page *page) {
    unsigned char header[kPageHeaderSize];
    if (fread(header, 1, kPageHeaderSize, file) != size_t(kPageHeaderSize)) return false;
    if (memcmp(header, "OggS", 4) != 0 || header[4] != 0) return false;
    page->flags = header[kPageFlagsOffset];
    page->lacing.resize(header[kPageSegmentCountOffset]);
    return fread(page->lacing.data(), 1, page->lacing.size(), file) == page->lacing.size();
}

// Appends one segment's bytes to the packet.
bool ReadSegment(FILE *file, int size, std::vector<unsigned char> *packet) {
    size_t old = packet->size();
    packet->resize(old + size_t(size));
    return fread(packet->data() + old, 1, size_t(size), file) == size_t(size);
}

// Reads the identification packet: the whole first page, which must hold
// exactly that one packet.
bool ReadIdentification(FILE *file, std::vector<unsigned char> *packet) {
    Page page;
    if (!ReadPageHeader(file, &page)) return false;
    if (!(page.flags & kPageFlagFirst) || (page.flags & (kPageFlagLast | kPageFlagContinued)))
        return false;
    if (page.lacing.size() != 1 || page.lacing[0] != kIdentificationSize) return false;
    return ReadSegment(file, page.lacing[0], packet);
}

// Reads the comment packet, which starts on the second page and may run on
// over continuation pages.
bool ReadComment(FILE *file, std::vector<unsigned char> *packet) {
    bool first = true;
    for (;;) {
        Page page;
        if (!ReadPageHeader(file, &page)) return false;
        if (!first && !(page.flags & kPageFlagContinued)) return false;
        first = false;
        for (unsigned char size : page.lacing) {
            if (!ReadSegment(file, size, packet)) return false;
            if (size != kLacingContinues) return true;
        }
    }
}

// ---------------------------------------------------------------------------
// Vorbis headers
// ---------------------------------------------------------------------------

uint32_t Get32(const unsigned char *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool IsVorbisHeader(const std::vector<unsigned char> &packet, unsigned char type) {
    return packet.size() >= 7 && packet[0] == type && memcmp(&packet[1], "vorbis", 6) == 0;
}

bool CheckIdentification(const std::vector<unsigned char> &p) {
    if (p.size() != kIdentificationSize || !IsVorbisHeader(p, kPacketIdentification)) return false;
    uint32_t version = Get32(&p[7]);
    int channels = p[11];
    uint32_t hertz = Get32(&p[12]);
    int log0 = p[28] & 15, log1 = p[28] >> 4;
    bool framing = p[29] & 1;
    return version == 0 && channels >= 1 && channels <= kMaxChannels && hertz != 0 &&
           log0 >= kMinBlockSizeLog && log1 <= kMaxBlockSizeLog && log0 <= log1 && framing;
}

// Each length field must fit in what is left of the packet.
bool CheckComment(const std::vector<unsigned char> &p) {
    if (!IsVorbisHeader(p, kPacketComment)) return false;
    size_t at = 7;
    auto take = [&](uint64_t bytes) {
        if (bytes > p.size() - at) return false;
        at += size_t(bytes);
        return true;
    };
    if (!take(4)) return false;
    if (!take(Get32(&p[at - 4]))) return false;  // vendor string
    if (!take(4)) return false;
    uint32_t count = Get32(&p[at - 4]);
    if (uint64_t(count) * 4 > p.size() - at) return false;
    for (uint32_t i = 0; i < count; ++i) {
        if (!take(4) || !take(Get32(&p[at - 4]))) return false;
    }
    return at < p.size() && (p[at] & 1);  // framing bit
}

}  // namespace

// ---------------------------------------------------------------------------
// Entry point
// ---------------------------------------------------------------------------

bool CheckOggHeaders(FILE *file) {
    std::vector<unsigned char> identification, comment;
    return ReadIdentification(file, &identification) && CheckIdentification(identification) &&
           ReadComment(file, &comment) && CheckComment(comment);
}
