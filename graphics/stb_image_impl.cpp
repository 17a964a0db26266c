// The image decoder's implementation, compiled here rather than taken from
// a shared library so that the settings below apply to every decode.
//
// Files are untrusted input. Only the PNG decoder is built (every image the
// program reads is a PNG, and the other decoders of this stb_image version
// carry known memory-safety faults), and a declared size above
// STBI_MAX_DIMENSIONS pixels on either side is refused before any pixel
// memory is allocated. The game's own sheets stay at or below 4096 a side.
#define STBI_MAX_DIMENSIONS 8192
#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif

#include <stb_image.h>

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
