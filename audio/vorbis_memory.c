/* Tracked allocation for the Ogg Vorbis decoder: each block carries a small
 * header linking it into one list of live blocks. */

#include "audio/vorbis_memory.h"

#include <stdint.h>
#include <stdlib.h>

/* ------------------------------------------------------------------------
 * Types and state
 * ------------------------------------------------------------------------ */

/* Padded to 32 bytes so the block after it keeps malloc's alignment. */
typedef struct Block {
    struct Block *prev;
    struct Block *next;
    size_t size;
    size_t pad;
} Block;

static Block live = {&live, &live, 0, 0};
static size_t live_bytes;

/* ------------------------------------------------------------------------
 * Functions
 * ------------------------------------------------------------------------ */

static Block *header_of(void *block) {
    return (Block *)block - 1;
}

static void unlink_block(Block *b) {
    b->prev->next = b->next;
    b->next->prev = b->prev;
    live_bytes -= b->size;
}

static void *link_block(Block *b, size_t size) {
    b->size = size;
    b->prev = live.prev;
    b->next = &live;
    live.prev->next = b;
    live.prev = b;
    live_bytes += size;
    return b + 1;
}

void *tesselon_vorbis_malloc(size_t size) {
    if (size > TESSELON_VORBIS_MAX_BYTES - live_bytes) return NULL;
    Block *b = (Block *)malloc(sizeof(Block) + size);
    return b ? link_block(b, size) : NULL;
}

void *tesselon_vorbis_realloc(void *block, size_t size) {
    if (!block) return tesselon_vorbis_malloc(size);
    Block *b = header_of(block);
    if (size > b->size && size - b->size > TESSELON_VORBIS_MAX_BYTES - live_bytes) return NULL;
    unlink_block(b);
    Block *grown = (Block *)realloc(b, sizeof(Block) + size);
    if (!grown) {
        link_block(b, b->size);
        return NULL;
    }
    return link_block(grown, size);
}

void tesselon_vorbis_free(void *block) {
    if (!block) return;
    Block *b = header_of(block);
    unlink_block(b);
    free(b);
}

size_t tesselon_vorbis_release_all(void) {
    size_t count = 0;
    while (live.next != &live) {
        Block *b = live.next;
        unlink_block(b);
        free(b);
        ++count;
    }
    return count;
}
