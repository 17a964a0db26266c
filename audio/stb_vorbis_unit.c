/* The Ogg Vorbis decoder's implementation, compiled here and nowhere else.
 * Its allocations go through the tracked allocator, so an error path that
 * forgets a block cannot leak it and no stream can make it take more than
 * a fixed total. Files reach it only after CheckOggHeaders. */

/* The system declarations first, so the renaming below only reaches the
 * decoder's own calls. */
#include <alloca.h>
#include <stdlib.h>
#include <string.h>

#include "audio/vorbis_memory.h"

#define malloc(size) tesselon_vorbis_malloc(size)
#define realloc(block, size) tesselon_vorbis_realloc(block, size)
#define free(block) tesselon_vorbis_free(block)

#include "stb_vorbis.h"
