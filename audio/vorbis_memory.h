/* Memory for the Ogg Vorbis decoder: every block it allocates is tracked,
 * so a decoding session can end by releasing whatever the decoder's error
 * paths left behind, and a stream can never make it take more than a fixed
 * total. Single-threaded, like the rest of the audio device. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Most bytes the decoder may hold at once; requests beyond fail. */
#define TESSELON_VORBIS_MAX_BYTES (64u * 1024u * 1024u)

void *tesselon_vorbis_malloc(size_t size);
void *tesselon_vorbis_realloc(void *block, size_t size);
void tesselon_vorbis_free(void *block);

/* Frees every block still held and returns how many there were. */
size_t tesselon_vorbis_release_all(void);

#ifdef __cplusplus
}
#endif
