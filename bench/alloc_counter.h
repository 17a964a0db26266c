// Heap allocation counting for the benchmarks that report allocations per
// update. Linking alloc_counter.cpp replaces malloc, calloc and realloc of the
// whole process (operator new and the collector's large blocks come through
// malloc) with versions that count each call.
#pragma once

// Allocation calls made by the process so far.
long bench_AllocationCount();
