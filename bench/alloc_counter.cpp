// Counting malloc, calloc and realloc: each call is counted, then handed to
// the C library's own allocator.
#include "bench/alloc_counter.h"

#include <stdlib.h>

#include <atomic>

extern "C" void *__libc_malloc(size_t size);
extern "C" void *__libc_calloc(size_t n, size_t size);
extern "C" void *__libc_realloc(void *p, size_t size);

namespace {
std::atomic<long> gAllocations{0};
}

long bench_AllocationCount() {
    return gAllocations.load(std::memory_order_relaxed);
}

extern "C" void *malloc(size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
extern "C" void *calloc(size_t n, size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, size);
}
extern "C" void *realloc(void *p, size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
