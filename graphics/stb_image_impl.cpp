// The image decoder's implementation, compiled here rather than taken from
// a shared library so that its size cap below applies to every decode.
//
// Files are untrusted input: a declared size above STBI_MAX_DIMENSIONS pixels on
// either side is refused before any pixel memory is allocated. The game's
// own sheets stay at or below 4096 pixels a side.
#define STBI_MAX_DIMENSIONS 8192
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
