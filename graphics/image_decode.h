// Decoding image file bytes into pixels, with the checks untrusted files
// need before they reach the decoder.
#pragma once

#include <cstddef>
#include <cstdio>

// Largest image file read into memory for decoding, in bytes.
constexpr std::size_t kImageFileMaxBytes = 128u * 1024u * 1024u;

// Decodes a PNG held in memory at its own component count (1 grey, 2 grey
// and alpha, 3 RGB, 4 RGBA). Returns malloc'd pixels, rows top first, that
// the caller frees; null when the bytes are not a decodable PNG, when a chunk
// declares more bytes than there are, or when the image declares more than
// the decoder's size cap. width, height and depth are written
// only on success.
unsigned char *graphics_DecodeImage(const unsigned char *bytes, std::size_t size, int *width,
                                    int *height, int *depth);

// Reads the rest of an open file and decodes it as above; null when the
// file is unreadable or larger than kImageFileMaxBytes.
unsigned char *graphics_DecodeImageFile(FILE *file, int *width, int *height, int *depth);
