// gc_test_support.h: a small heap fixture shared by the collector and array
// tests: test-owned roots and a collected class that counts its instances.
#ifndef TESSELON_TESTS_RUNTIME_GC_TEST_SUPPORT_H
#define TESSELON_TESTS_RUNTIME_GC_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include "runtime/gc_verify.h"
#include "runtime/runtime.h"

// A collected object with two references, counting live instances.
struct Counted : public Object {
    static int live;
    Counted *next = nullptr;
    Counted *other = nullptr;
    int value = 0;

    Counted() { ++live; }
    ~Counted() override { --live; }
    void mark() override {
        gc_mark_q(next);
        gc_mark_q(other);
    }
};
inline int Counted::live = 0;

// The roots of the tests: queued in order by the root marker.
constexpr int kTestRoots = 4;
inline gc_object *g_roots[kTestRoots];

inline void mark_test_roots() {
    for (gc_object *r : g_roots) gc_mark_q(r);
}

inline bool is_marked(const gc_object *p) {
    return (p->flags & 3) != gc_markbit;
}

// A full collection with immediate release of all garbage.
inline void full_collect() {
    gc_force_sweep = true;
    gc_collect();
}

// Runs collector steps until one sweeps (the mark colour flips).
inline void collect_until_sweep() {
    int bit = gc_markbit;
    for (int i = 0; i < 1000 && gc_markbit == bit; ++i) gc_collect();
    ASSERT_NE(gc_markbit, bit) << "no sweep happened";
}

// Allocates more than the sweep threshold as garbage, so that the next
// completed marking cycle sweeps.
inline void allocate_past_sweep_threshold() {
    Array<int> garbage(kGcSweepThresholdBytes / static_cast<int>(sizeof(int)) + 1);
    (void)garbage;
}

class RuntimeGcTest : public ::testing::Test {
protected:
    void SetUp() override {
        gc_set_stress_mode(false);
        for (gc_object *&r : g_roots) r = nullptr;
        gc_set_root_marker(mark_test_roots);
        // Whatever earlier tests left behind is unreachable now.
        full_collect();
        full_collect();
        ASSERT_EQ(Counted::live, 0);
        ASSERT_EQ(gc_free_bytes, 0);
        ASSERT_EQ(gc_verify_heap(), "");
    }
    void TearDown() override {
        gc_set_stress_mode(false);
        for (gc_object *&r : g_roots) r = nullptr;
        full_collect();
        gc_set_root_marker(nullptr);
    }
};

#endif
