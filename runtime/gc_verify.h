// gc_verify.h: a heap verifier and a collector stress mode for tests (link
// tesselon_gc_verify: `tesselon_add_test(... LIBS tesselon_gc_verify)`).
//
// gc_verify_heap() walks the four lists and checks:
//   - the links of every list are consistent;
//   - list membership matches colour (white on the unmarked list, marked on
//     the queued and marked lists);
//   - the counters match the lists (gc_alloced_bytes, gc_marked_bytes,
//     gc_marked_objs, gc_free_bytes);
//   - no black object (marked list) refers to a white one: every reference
//     stored into a visited object went through the write barrier;
//   - no live object refers to garbage or to a destroyed block.
// References are found by running each object's mark() with marking
// switched off, so a class whose mark() skips a field is not checked there.
//
// Stress mode (gc_set_stress_mode(true), or a GcStressScope) turns every
// gc_collect() into: verify, full collection with immediate release, then
// mark everything reachable. The application therefore always runs against
// a fully marked heap, and a store that bypasses the barrier is reported by
// the very next gc_collect(): the verifier's report goes to standard error
// and the process aborts.
#ifndef TESSELON_RUNTIME_GC_VERIFY_H
#define TESSELON_RUNTIME_GC_VERIFY_H

#include <string>

// An empty string when the heap is sound, else one line per fault found.
std::string gc_verify_heap();

void gc_set_stress_mode(bool on);
bool gc_stress_mode();

// Stress mode for the lifetime of the scope.
class GcStressScope {
public:
    GcStressScope() : was_(gc_stress_mode()) { gc_set_stress_mode(true); }
    ~GcStressScope() { gc_set_stress_mode(was_); }
    GcStressScope(const GcStressScope &) = delete;
    GcStressScope &operator=(const GcStressScope &) = delete;

private:
    bool was_;
};

#endif
