// gc.h: collected objects and the incremental mark-and-sweep collector.
//
// Every collected object derives from gc_object and is created with `new T`
// (gc_object's operator new takes the storage from gc_object_alloc). Objects
// are never deleted by hand: the collector destroys them once they are no
// longer reachable from the roots. Any store of a reference into a field of
// a collected object, an array element or a root global goes through the
// write barrier gc_assign (or, for arrays of references, through the element
// proxy of Array<T>, see array.h).
//
// The collector never scans the machine stack: it only runs between host
// events, when no application code holds references in local variables.
#ifndef TESSELON_RUNTIME_GC_H
#define TESSELON_RUNTIME_GC_H

#include <cstddef>
#include <type_traits>

// ---------------------------------------------------------------------------
// Tuning
// ---------------------------------------------------------------------------

// Objects marked per collector step unless a full collection is due.
constexpr int kGcMarkBudgetObjects = 2500;
// Growth since the last sweep above which a completed marking cycle sweeps.
constexpr int kGcSweepThresholdBytes = 4 * 1024 * 1024;
// Growth since the last sweep above which a step is a full collection.
constexpr int kGcFullCollectBytes = 64 * 1024 * 1024;
// Blocks of at most this many bytes are recycled through gc_cache.
constexpr int kGcCacheMaxBytes = 56;
// Colour of static objects the collector never touches (empty arrays).
constexpr int kGcStaticColour = 3;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// Tag for the constant-initialised statics: list heads and empty arrays.
struct gc_list_head_tag {};
struct gc_static_tag {};

class gc_object {
public:
    gc_object *succ;  // next on its list (next free block in gc_cache)
    gc_object *pred;  // previous on its list
    int flags;        // size in bytes (multiple of 8) | colour in the low two bits

    // Links an object allocated by gc_object_alloc onto gc_unmarked_list,
    // unmarked, and counts it. An object not made with `new` (a local or a
    // static) gets the static colour and is never touched by the collector.
    gc_object();
    // A list head: an empty list points to itself both ways.
    constexpr explicit gc_object(gc_list_head_tag) : succ(this), pred(this), flags(0) {}
    // A static object outside every list, with the colour the collector skips.
    constexpr explicit gc_object(gc_static_tag)
        : succ(nullptr), pred(nullptr), flags(kGcStaticColour) {}

    gc_object(const gc_object &) = delete;
    gc_object &operator=(const gc_object &) = delete;

    virtual ~gc_object() {}
    // Marks the references this object holds (gc_mark_q for each field).
    virtual void mark() {}

    static void *operator new(std::size_t size);
    static void operator delete(void *p);
    static void *operator new[](std::size_t) = delete;
    static void operator delete[](void *) = delete;
};

// Base of interfaces: a collected object is found from an interface pointer
// with a dynamic cast to gc_object.
class gc_interface {
public:
    virtual ~gc_interface() {}
};

// ---------------------------------------------------------------------------
// Collector state (single-threaded)
// ---------------------------------------------------------------------------

extern gc_object gc_queued_list;    // grey: marked, mark() not yet run
extern gc_object gc_unmarked_list;  // white: not reached in this cycle
extern gc_object gc_marked_list;    // black: marked and visited
extern gc_object gc_free_list;      // garbage waiting to be destroyed

// gc_cache[k]: free blocks of 8*k bytes (k = 1..7; entry 0 stays empty).
constexpr int kGcCacheClasses = 8;
extern gc_object *gc_cache[kGcCacheClasses];

extern int gc_alloced_bytes;      // bytes on the unmarked, queued and marked lists
extern int gc_max_alloced_bytes;  // high-water mark of gc_alloced_bytes
extern int gc_alloced_objs;       // allocations ever made (wraps)
extern int gc_marked_bytes;       // marked so far in this cycle
extern int gc_marked_objs;
extern int gc_free_bytes;    // bytes on gc_free_list
extern bool gc_force_sweep;  // next gc_collect is a full collection with release
extern int gc_markbit;       // colour meaning "unmarked"; flips at every sweep

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

// Raw storage of size bytes (rounded up to 8, at least the header); destroys
// garbage first to pay for it. The gc_object constructor run in it puts the
// object on gc_unmarked_list, unmarked.
void *gc_object_alloc(int size);
// Returns a destroyed object's block to gc_cache or free().
void gc_object_free(gc_object *p);

// Installs the function gc_mark() calls to queue the roots (gc_mark_q on
// each root global, in the application's order). Null: no roots.
void gc_set_root_marker(void (*marker)());
// Queues every root.
void gc_mark();

// Queues p (grey) if it is not null and unmarked.
void gc_mark_q(gc_object *p);
void gc_mark_q(gc_interface *p);
inline void gc_mark_q(std::nullptr_t) {}

// Immediate marking: if p is not null and unmarked, moves it to the end of
// gc_marked_list, counts it and runs its mark() now.
void gc_mark_now(gc_object *p);
void gc_mark_now(gc_interface *p);
inline void gc_mark_now(std::nullptr_t) {}

// Any pointer to a collected class or an interface.
template <class T>
inline void gc_mark_q(T *p) {
    using U = typename std::remove_cv<T>::type;
    if constexpr (std::is_base_of<gc_object, U>::value) {
        gc_mark_q(static_cast<gc_object *>(const_cast<U *>(p)));
    } else {
        static_assert(std::is_base_of<gc_interface, U>::value,
                      "gc_mark_q needs a collected object or an interface");
        gc_mark_q(static_cast<gc_interface *>(const_cast<U *>(p)));
    }
}
template <class T>
inline void gc_mark_now(T *p) {
    using U = typename std::remove_cv<T>::type;
    if constexpr (std::is_base_of<gc_object, U>::value) {
        gc_mark_now(static_cast<gc_object *>(const_cast<U *>(p)));
    } else {
        static_assert(std::is_base_of<gc_interface, U>::value,
                      "gc_mark_now needs a collected object or an interface");
        gc_mark_now(static_cast<gc_interface *>(const_cast<U *>(p)));
    }
}

// Marks each non-null unmarked element at once (immediate marking).
template <class T>
inline void gc_mark_elements(int count, T *const *elements) {
    for (int i = 0; i < count; ++i) gc_mark_now(elements[i]);
}

// Write barrier: queues value if it is unmarked, then stores it in field.
// field is a pointer to a collected class or an interface; value anything
// that converts to it (a derived pointer, nullptr, an array element).
template <class T, class V>
inline void gc_assign(T *&field, V &&value) {
    T *v = static_cast<V &&>(value);
    gc_mark_q(v);
    field = v;
}

// One collector step: bounded marking, then a sweep when one is due.
void gc_collect();
// Destroys garbage from the front of gc_free_list until gc_free_bytes has
// dropped by at least bytes.
void gc_flush_free(int bytes);
// Makes the four lists empty and the byte counters 0 (start-up).
void gc_init1();
// Queues the roots (same as gc_mark).
void gc_init2();
// Microseconds of a monotonic clock.
long long gc_micros();

#endif
