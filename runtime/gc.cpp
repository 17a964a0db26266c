// gc.cpp: the allocator, the lists, marking and the incremental collector
// step.
#include "runtime/gc.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <new>

#include "runtime/gc_internal.h"

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

gc_object gc_queued_list{gc_list_head_tag{}};
gc_object gc_unmarked_list{gc_list_head_tag{}};
gc_object gc_marked_list{gc_list_head_tag{}};
gc_object gc_free_list{gc_list_head_tag{}};

gc_object *gc_cache[kGcCacheClasses];

int gc_alloced_bytes;
int gc_max_alloced_bytes;
int gc_alloced_objs;
int gc_marked_bytes;
int gc_marked_objs;
int gc_free_bytes;
bool gc_force_sweep;
int gc_markbit = 1;

void (*gc_reference_probe)(gc_object *p);
void (*gc_collect_override)();

// Header accesses on storage that holds no constructed object (a new block,
// a destroyed object) are exempt from the sanitizer's dynamic type check.
#define RAW_HEADER_ACCESS __attribute__((no_sanitize("vptr")))

namespace {

// Colour a destroyed block carries in gc_cache: never a live colour, and not
// the static colour either, so the verifier can tell it from both.
constexpr int kFreedColour = 2;
// First size of the list of allocated, not yet constructed blocks.
constexpr int kPendingInitialCapacity = 16;

void (*root_marker)();
// gc_alloced_bytes right after the last sweep.
int alloced_at_last_sweep;

// Counters wrap instead of overflowing.
inline int wrap_add(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
}
inline int wrap_sub(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
}

RAW_HEADER_ACCESS inline int size_of(const gc_object *p) {
    return p->flags & ~7;
}
inline bool is_unmarked(const gc_object *p) {
    return (p->flags & 3) == gc_markbit;
}

RAW_HEADER_ACCESS inline void unlink(gc_object *p) {
    p->pred->succ = p->succ;
    p->succ->pred = p->pred;
}

RAW_HEADER_ACCESS inline void append(gc_object *p, gc_object &list) {
    p->succ = &list;
    p->pred = list.pred;
    list.pred->succ = p;
    list.pred = p;
}

// Moves every object of from to the end of to; from becomes empty.
void splice_all(gc_object &from, gc_object &to) {
    if (from.succ == &from) return;
    gc_object *first = from.succ;
    gc_object *last = from.pred;
    first->pred = to.pred;
    to.pred->succ = first;
    last->succ = &to;
    to.pred = last;
    from.succ = from.pred = &from;
}

// Destroys objects from the front of gc_free_list while gc_free_bytes is
// above target (target >= 0).
void destroy_garbage(int target) {
    while (gc_free_bytes > target) {
        gc_object *p = gc_free_list.succ;
        if (p == &gc_free_list) {
            std::printf("ERROR:p=%p gc_free_bytes=%i\n", static_cast<void *>(p), gc_free_bytes);
            std::fflush(stdout);
            gc_free_bytes = 0;
            return;
        }
        unlink(p);
        p->pred = nullptr;  // off every list: operator delete takes the collector's path
        delete p;           // ends in gc_object_free, which lowers gc_free_bytes
    }
}

// A block of size bytes from gc_cache or the system.
RAW_HEADER_ACCESS gc_object *take_block(int size) {
    if (size <= kGcCacheMaxBytes && gc_cache[size >> 3]) {
        gc_object *p = gc_cache[size >> 3];
        gc_cache[size >> 3] = p->succ;
        return p;
    }
    auto *p = static_cast<gc_object *>(std::malloc(static_cast<std::size_t>(size)));
    if (!p) throw std::bad_alloc();
    return p;
}

// Moves the first queued object to the marked list and visits it.
inline void blacken(gc_object *p) {
    unlink(p);
    append(p, gc_marked_list);
    gc_marked_bytes = wrap_add(gc_marked_bytes, size_of(p));
    gc_marked_objs = wrap_add(gc_marked_objs, 1);
    p->mark();
}

void sweep() {
    int garbage = wrap_sub(gc_alloced_bytes, gc_marked_bytes);
    if (gc_unmarked_list.succ != &gc_unmarked_list) {
        splice_all(gc_unmarked_list, gc_free_list);
        gc_free_bytes = wrap_add(gc_free_bytes, garbage);
    }
    splice_all(gc_marked_list, gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_marked_objs = 0;
    gc_markbit ^= 1;
    gc_mark();
    if (gc_force_sweep) {
        gc_flush_free(gc_free_bytes);
        gc_force_sweep = false;
    }
    alloced_at_last_sweep = gc_alloced_bytes;
}

// Blocks handed out by gc_object_alloc whose gc_object constructor has not
// run yet, most recent last. Allocations made while the arguments of a
// constructor are evaluated complete before it, so the list works as a
// stack and is rarely more than one or two deep.
struct PendingBlock {
    gc_object *block;
    int size;
};
PendingBlock *pending;
int pending_count;
int pending_capacity;

void push_pending(gc_object *block, int size) {
    if (pending_count == pending_capacity) {
        int capacity = pending_capacity ? 2 * pending_capacity : kPendingInitialCapacity;
        auto *grown = static_cast<PendingBlock *>(
            std::realloc(pending, sizeof(PendingBlock) * static_cast<std::size_t>(capacity)));
        if (!grown) throw std::bad_alloc();
        pending = grown;
        pending_capacity = capacity;
    }
    pending[pending_count++] = {block, size};
}

// Removes block from the pending list; its size, or 0 when it is not there.
int take_pending(const void *block) {
    for (int i = pending_count - 1; i >= 0; --i) {
        if (pending[i].block != block) continue;
        int size = pending[i].size;
        for (int j = i + 1; j < pending_count; ++j) pending[j - 1] = pending[j];
        --pending_count;
        return size;
    }
    return 0;
}

// Returns a block to gc_cache or to the system.
RAW_HEADER_ACCESS void release_block(gc_object *p, int size) {
    if (size <= kGcCacheMaxBytes) {
        p->flags = size | kFreedColour;
        p->succ = gc_cache[size >> 3];
        p->pred = nullptr;
        gc_cache[size >> 3] = p;
    } else {
        std::free(p);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Objects
// ---------------------------------------------------------------------------

// The header is written here rather than by the allocator: `new T()` of a
// class without a constructor of its own zero-fills the whole object,
// header included, after the storage was allocated and before this runs.
// An object that was not allocated by gc_object_alloc (a local or static
// one) gets the static colour and stays outside the collector.
gc_object::gc_object() {
    int size = take_pending(this);
    if (size == 0) {
        succ = pred = nullptr;
        flags = kGcStaticColour;
        return;
    }
    flags = size | gc_markbit;
    append(this, gc_unmarked_list);
    gc_alloced_bytes = wrap_add(gc_alloced_bytes, size);
    if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
    gc_alloced_objs = wrap_add(gc_alloced_objs, 1);
}

void *gc_object::operator new(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX) - 7) throw std::bad_alloc();
    return gc_object_alloc(static_cast<int>(size));
}

RAW_HEADER_ACCESS void gc_object::operator delete(void *p) {
    auto *o = static_cast<gc_object *>(p);
    // The evaluation of the constructor's arguments threw: never constructed.
    if (int size = take_pending(p)) {
        release_block(o, size);
        return;
    }
    // A constructor threw after the object joined the unmarked list.
    if (o->pred) {
        unlink(o);
        gc_alloced_bytes = wrap_sub(gc_alloced_bytes, size_of(o));
        release_block(o, size_of(o));
        return;
    }
    gc_object_free(o);  // the collector destroying garbage
}

void *gc_object_alloc(int size) {
    // Every block holds at least the header.
    if (size < static_cast<int>(sizeof(gc_object))) size = static_cast<int>(sizeof(gc_object));
    if (size > INT_MAX - 7) throw std::bad_alloc();
    size = (size + 7) & ~7;
    int target = gc_free_bytes - size;
    if (target < 0) target = 0;
    if (gc_free_bytes > target) destroy_garbage(target);

    gc_object *p = take_block(size);
    push_pending(p, size);
    return p;
}

void gc_object_free(gc_object *p) {
    int size = size_of(p);
    release_block(p, size);
    gc_free_bytes = wrap_sub(gc_free_bytes, size);
}

// ---------------------------------------------------------------------------
// Marking
// ---------------------------------------------------------------------------

void gc_set_root_marker(void (*marker)()) {
    root_marker = marker;
}

void gc_mark() {
    if (root_marker) root_marker();
}

void gc_mark_q(gc_object *p) {
    if (!p) return;
    if (gc_reference_probe) {
        gc_reference_probe(p);
        return;
    }
    if (!is_unmarked(p)) return;
    p->flags ^= 1;
    unlink(p);
    append(p, gc_queued_list);
}

void gc_mark_q(gc_interface *p) {
    if (p) gc_mark_q(dynamic_cast<gc_object *>(p));
}

void gc_mark_now(gc_object *p) {
    if (!p) return;
    if (gc_reference_probe) {
        gc_reference_probe(p);
        return;
    }
    if (!is_unmarked(p)) return;
    p->flags ^= 1;
    blacken(p);
}

void gc_mark_now(gc_interface *p) {
    if (p) gc_mark_now(dynamic_cast<gc_object *>(p));
}

void gc_drain_queue() {
    while (gc_queued_list.succ != &gc_queued_list) blacken(gc_queued_list.succ);
}

// ---------------------------------------------------------------------------
// Collection
// ---------------------------------------------------------------------------

int gc_bytes_since_sweep() {
    return wrap_sub(gc_alloced_bytes, alloced_at_last_sweep);
}

void gc_collect_step() {
    int grown = gc_bytes_since_sweep();
    bool full = gc_force_sweep || grown > kGcFullCollectBytes;
    if (full) {
        gc_drain_queue();
    } else {
        long long budget = static_cast<long long>(gc_marked_objs) + kGcMarkBudgetObjects;
        while (gc_queued_list.succ != &gc_queued_list && gc_marked_objs < budget) {
            blacken(gc_queued_list.succ);
        }
        if (gc_queued_list.succ != &gc_queued_list) return;  // budget spent
        if (grown <= kGcSweepThresholdBytes) return;         // no sweep due yet
    }
    sweep();
}

void gc_collect() {
    if (gc_collect_override) {
        gc_collect_override();
        return;
    }
    gc_collect_step();
}

void gc_flush_free(int bytes) {
    int target = wrap_sub(gc_free_bytes, bytes);
    if (target < 0) target = 0;
    destroy_garbage(target);
}

void gc_init1() {
    for (gc_object *list : {&gc_queued_list, &gc_unmarked_list, &gc_marked_list, &gc_free_list}) {
        list->succ = list->pred = list;
    }
    // The byte counters describe the lists, so they start over with them
    // (objects made before this call are forgotten, never destroyed).
    gc_alloced_bytes = 0;
    gc_marked_bytes = 0;
    gc_marked_objs = 0;
    gc_free_bytes = 0;
    alloced_at_last_sweep = 0;
}

void gc_init2() {
    gc_mark();
}

long long gc_micros() {
    timespec res{};
    if (clock_getres(CLOCK_MONOTONIC, &res) != 0) return 0;
    if (res.tv_sec > 0 || res.tv_nsec > 1000) return 0;  // slower than 1 MHz
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
