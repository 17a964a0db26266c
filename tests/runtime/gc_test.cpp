// gc_test.cpp: the collector: reachability over several cycles, the write
// barrier against incremental marking, the marking budget and the sweep
// thresholds, lazy destruction and block reuse, the free-count error path,
// and the heap verifier with its stress mode.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gc_test_support.h"

namespace {

// Objects of known block sizes (the header takes 32 bytes).
struct Obj40 : public Object {
    std::int64_t payload[1] = {};
};
struct Obj56 : public Object {
    std::int64_t payload[3] = {};
};
struct Obj72 : public Object {
    std::int64_t payload[5] = {};
};
static_assert(sizeof(gc_object) == 32, "header of four words on a 64-bit machine");
static_assert(sizeof(Obj40) == 40 && sizeof(Obj56) == 56 && sizeof(Obj72) == 72,
              "block sizes the cache tests rely on");

struct Pairless : public Counted {
    explicit Pairless(Counted *c) { next = c; }
};

// A chain of n objects hanging from root slot 0.
Counted *make_chain(int n) {
    Counted *head = new Counted;
    gc_assign(g_roots[0], head);
    Counted *tail = head;
    for (int i = 1; i < n; ++i) {
        Counted *c = new Counted;
        gc_assign(tail->next, c);
        tail = c;
    }
    return head;
}

int queued_count() {
    int n = 0;
    for (gc_object *p = gc_queued_list.succ; p != &gc_queued_list; p = p->succ) ++n;
    return n;
}

bool on_list(const gc_object *p, const gc_object &list) {
    for (const gc_object *q = list.succ; q != &list; q = q->succ) {
        if (q == p) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Reachability
// ---------------------------------------------------------------------------

TEST_F(RuntimeGcTest, KeepsReachableGraphAndReclaimsTheRestOverSeveralCycles) {
    // root -> a -> b -> c -> a (a cycle), and b.other -> d
    Counted *a = new Counted;
    gc_assign(g_roots[1], a);
    Counted *b = new Counted;
    gc_assign(a->next, b);
    Counted *c = new Counted;
    gc_assign(b->next, c);
    gc_assign(c->next, a);
    Counted *d = new Counted;
    gc_assign(b->other, d);
    // Unreachable: a two-object cycle and a loner.
    Counted *e = new Counted;
    Counted *f = new Counted;
    gc_assign(e->next, f);
    gc_assign(f->next, e);
    new Counted;
    ASSERT_EQ(Counted::live, 7);

    // The barrier queued f and e when they were linked, so they float
    // through the current cycle; from the second sweep on only the
    // reachable four remain.
    for (int cycle = 0; cycle < 4; ++cycle) {
        int bit = gc_markbit;
        full_collect();
        EXPECT_NE(gc_markbit, bit) << "the mark colour flips at every sweep";
        if (cycle > 0) {
            EXPECT_EQ(Counted::live, 4) << "cycle " << cycle;
        }
        EXPECT_EQ(gc_verify_heap(), "");
    }
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->other, d);

    // Cut d loose, then the whole graph; what the new cycle has already
    // queued goes at the second sweep.
    gc_assign(b->other, nullptr);
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 3);
    gc_assign(g_roots[1], nullptr);
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 0);
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, ClearedFieldReachesTheFreeListWithinTwoSweepsAndIsDestroyedLazily) {
    Counted *holder = new Counted;
    gc_assign(g_roots[0], holder);
    gc_assign(holder->next, new Counted);
    for (int i = 0; i < 3; ++i) {
        allocate_past_sweep_threshold();
        collect_until_sweep();
    }
    EXPECT_EQ(Counted::live, 2);

    Counted *dropped = holder->next;
    gc_assign(holder->next, nullptr);
    for (int sweeps = 0; sweeps < 2 && !on_list(dropped, gc_free_list); ++sweeps) {
        allocate_past_sweep_threshold();
        collect_until_sweep();
    }
    ASSERT_TRUE(on_list(dropped, gc_free_list));
    EXPECT_EQ(Counted::live, 2) << "garbage is not destroyed by the sweep";
    EXPECT_GT(gc_free_bytes, 0);

    // A forced flush destroys it.
    gc_flush_free(gc_free_bytes);
    EXPECT_EQ(Counted::live, 1);
    EXPECT_EQ(gc_free_bytes, 0);
}

// ---------------------------------------------------------------------------
// The write barrier
// ---------------------------------------------------------------------------

// Marks the current cycle to completion without sweeping: every reachable
// object ends black.
void finish_marking_without_sweep() {
    int bit = gc_markbit;
    gc_collect();
    ASSERT_EQ(queued_count(), 0);
    ASSERT_EQ(gc_markbit, bit) << "the small heap must not sweep here";
}

TEST_F(RuntimeGcTest, ObjectStoredIntoBlackObjectMidCycleSurvivesTheSweep) {
    Counted *holder = new Counted;
    gc_assign(g_roots[0], holder);
    full_collect();  // a new cycle starts with the roots queued
    finish_marking_without_sweep();
    ASSERT_TRUE(on_list(holder, gc_marked_list)) << "holder must be black";

    // The only reference to the new object is stored into the black holder.
    gc_assign(holder->next, new Counted);
    EXPECT_EQ(gc_verify_heap(), "");
    full_collect();
    EXPECT_EQ(Counted::live, 2) << "the barrier keeps the new object";
    ASSERT_NE(holder->next, nullptr);
    holder->next->value = 7;  // still a live object (ASan would object)
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, ObjectMovedIntoBlackObjectFromAWhiteOneSurvives) {
    // holder is visited before the white source; the only path to the
    // object moves from the source into the holder mid-cycle.
    Counted *holder = new Counted;
    gc_assign(g_roots[0], holder);
    Counted *source = new Counted;
    gc_assign(g_roots[1], source);
    Counted *moved = new Counted;
    gc_assign(source->next, moved);
    full_collect();
    // Mark only the roots' first level: holder and source become black,
    // moved is queued. Then take moved out of the queue's reach.
    gc_collect();
    ASSERT_TRUE(on_list(holder, gc_marked_list));
    gc_assign(holder->next, source->next);
    gc_assign(source->next, nullptr);
    full_collect();
    EXPECT_EQ(Counted::live, 3);
    EXPECT_EQ(holder->next, moved);
}

TEST_F(RuntimeGcTest, ObjectStoredIntoRootGlobalAfterTheRootsWereVisitedSurvives) {
    gc_assign(g_roots[0], new Counted);
    full_collect();
    finish_marking_without_sweep();
    gc_assign(g_roots[2], new Counted);
    full_collect();
    EXPECT_EQ(Counted::live, 2);
}

TEST_F(RuntimeGcTest, VerifierReportsAStoreThatBypassesTheBarrier) {
    Counted *holder = new Counted;
    gc_assign(g_roots[0], holder);
    full_collect();
    finish_marking_without_sweep();
    Counted *fresh = new Counted;
    holder->next = fresh;  // no barrier
    std::string report = gc_verify_heap();
    EXPECT_NE(report.find("refers to unmarked object"), std::string::npos) << report;
    gc_mark_q(fresh);  // repair before anything is swept
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, VerifierReportsCountersThatDisagreeWithTheLists) {
    gc_assign(g_roots[0], new Counted);
    gc_alloced_bytes += 8;
    std::string report = gc_verify_heap();
    gc_alloced_bytes -= 8;
    EXPECT_NE(report.find("gc_alloced_bytes"), std::string::npos) << report;
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, StressModeKeepsBarrieredStoresAndCatchesAMissingBarrier) {
    {
        GcStressScope stress;
        Counted *holder = new Counted;
        gc_assign(g_roots[0], holder);
        for (int i = 0; i < 5; ++i) {
            gc_assign(holder->next, new Counted);
            gc_collect();
        }
        EXPECT_EQ(Counted::live, 2) << "each collection releases the replaced object at once";
    }
    EXPECT_DEATH(
        {
            GcStressScope stress;
            Counted *holder = new Counted;
            gc_assign(g_roots[0], holder);
            gc_collect();
            holder->next = new Counted;  // no barrier
            gc_collect();
        },
        "store without the write barrier");
}

// ---------------------------------------------------------------------------
// Budget and thresholds
// ---------------------------------------------------------------------------

TEST_F(RuntimeGcTest, MarkingStopsAtTheBudgetAndContinuesAtTheNextStep) {
    make_chain(3000);
    full_collect();  // a new cycle: the chain's head is queued
    int bit = gc_markbit;
    gc_collect();
    EXPECT_EQ(gc_marked_objs, kGcMarkBudgetObjects);
    EXPECT_GT(queued_count(), 0);
    gc_collect();
    EXPECT_EQ(gc_marked_objs, 3000);
    EXPECT_EQ(queued_count(), 0);
    EXPECT_EQ(gc_markbit, bit) << "little was allocated: no sweep";
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, SweepWaitsForMarkingToCompleteAndForFourMebibytesOfGrowth) {
    make_chain(3000);
    full_collect();
    int bit = gc_markbit;
    allocate_past_sweep_threshold();
    gc_collect();  // budget spent: no sweep despite the growth
    EXPECT_EQ(gc_markbit, bit);
    gc_collect();  // marking completes and the growth is past the threshold
    EXPECT_NE(gc_markbit, bit);
    EXPECT_EQ(Counted::live, 3000);
    EXPECT_GE(gc_free_bytes, kGcSweepThresholdBytes) << "the garbage array waits on the free list";
    EXPECT_EQ(gc_verify_heap(), "");

    // Below the threshold a completed cycle does not sweep.
    bit = gc_markbit;
    for (int i = 0; i < 5; ++i) gc_collect();
    EXPECT_EQ(gc_markbit, bit);
}

TEST_F(RuntimeGcTest, MoreThanSixtyFourMebibytesMakesAFullCollection) {
    make_chain(3000);
    full_collect();
    int bit = gc_markbit;
    {
        Array<int> big(kGcFullCollectBytes / static_cast<int>(sizeof(int)) + 1);
        (void)big;
    }
    gc_collect();  // no budget: marks all 3000 and sweeps in one step
    EXPECT_NE(gc_markbit, bit);
    EXPECT_EQ(Counted::live, 3000);
    EXPECT_GT(gc_free_bytes, kGcFullCollectBytes);
    gc_flush_free(gc_free_bytes);
}

TEST_F(RuntimeGcTest, ForcedSweepMarksSweepsAndDestroysAllGarbageInOneStep) {
    make_chain(3000);
    for (int i = 0; i < 10; ++i) new Counted;
    full_collect();
    for (int i = 0; i < 10; ++i) new Counted;
    gc_force_sweep = true;
    gc_collect();
    EXPECT_FALSE(gc_force_sweep);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(Counted::live, 3000);
}

// ---------------------------------------------------------------------------
// Allocation: lazy destruction, the block cache, the error path
// ---------------------------------------------------------------------------

TEST_F(RuntimeGcTest, AllocationDestroysJustEnoughGarbageAndReusesItsBlock) {
    Counted *a = new Counted;
    Counted *b = new Counted;
    gc_object *a_block = a;
    allocate_past_sweep_threshold();
    collect_until_sweep();
    ASSERT_TRUE(on_list(a, gc_free_list));
    ASSERT_TRUE(on_list(b, gc_free_list));
    EXPECT_EQ(Counted::live, 2);

    // One allocation of the same size pays for itself with the first
    // garbage object and gets that very block back.
    Counted *c = new Counted;
    EXPECT_EQ(Counted::live, 2) << "a destroyed, b still waiting, c new";
    EXPECT_EQ(static_cast<gc_object *>(c), a_block);
    EXPECT_TRUE(on_list(b, gc_free_list));
    gc_flush_free(gc_free_bytes);
}

TEST_F(RuntimeGcTest, FortyByteBlocksAreReusedAndSeventyTwoByteBlocksAreNot) {
    gc_object *o40 = new Obj40;
    gc_object *o72 = new Obj72;
    full_collect();
    EXPECT_EQ(gc_cache[5], o40) << "the freed 40-byte block heads its size class";
    gc_object *again = new Obj40;
    EXPECT_EQ(again, o40);
    EXPECT_NE(gc_cache[5], o40);

    gc_object *cached56 = gc_cache[7];
    gc_object *n72 = new Obj72;
    EXPECT_EQ(gc_cache[7], cached56) << "72 bytes never touch the cache";
    (void)o72;
    (void)n72;
    EXPECT_EQ(gc_cache[0], nullptr);
}

TEST_F(RuntimeGcTest, FreeCountWithoutGarbagePrintsTheErrorLineAndResets) {
    gc_free_bytes = 1000;
    testing::internal::CaptureStdout();
    new Counted;
    std::string out = testing::internal::GetCapturedStdout();
    char expected[64];
    std::snprintf(expected, sizeof expected, "ERROR:p=%p gc_free_bytes=1000\n",
                  static_cast<void *>(&gc_free_list));
    EXPECT_EQ(out, expected);
    EXPECT_EQ(gc_free_bytes, 0);

    gc_free_bytes = 24;
    testing::internal::CaptureStdout();
    gc_flush_free(100);
    out = testing::internal::GetCapturedStdout();
    std::snprintf(expected, sizeof expected, "ERROR:p=%p gc_free_bytes=24\n",
                  static_cast<void *>(&gc_free_list));
    EXPECT_EQ(out, expected);
    EXPECT_EQ(gc_free_bytes, 0);
}

TEST_F(RuntimeGcTest, CountersFollowAllocationAndSweep) {
    int objs = gc_alloced_objs;
    int bytes = gc_alloced_bytes;
    new Obj56;
    EXPECT_EQ(gc_alloced_objs, objs + 1);
    EXPECT_EQ(gc_alloced_bytes, bytes + 56);
    EXPECT_GE(gc_max_alloced_bytes, gc_alloced_bytes);
    full_collect();
    EXPECT_EQ(gc_alloced_bytes, bytes);
    EXPECT_EQ(gc_alloced_objs, objs + 1) << "allocations ever made";
}

TEST_F(RuntimeGcTest, InterfaceReferencesAreFoundThroughTheObject) {
    struct Source : public virtual gc_interface {};
    struct Impl : public Counted, public virtual Source {};
    struct Holder : public Counted {
        Source *source = nullptr;
        void mark() override { gc_mark_q(source); }
    };
    Holder *h = new Holder;
    gc_assign(g_roots[0], h);
    gc_assign(h->source, new Impl);
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 2);
    EXPECT_EQ(gc_verify_heap(), "");
}

// ---------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------

TEST_F(RuntimeGcTest, ValueInitialisedObjectsKeepTheirHeader) {
    // No constructor of its own: `new T()` zero-fills the object first.
    struct Bare : public Object {
        Counted *ref;
        void mark() override { gc_mark_q(ref); }
    };
    Bare *b = new Bare();
    EXPECT_EQ(b->ref, nullptr);
    EXPECT_EQ(b->flags, static_cast<int>(sizeof(Bare)) | gc_markbit);
    gc_assign(g_roots[0], b);
    gc_assign(b->ref, new Counted());
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 1);
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, ObjectsMadeInsideConstructorArgumentsAreAllOnTheList) {
    struct Pair : public Counted {
        Pair(Counted *a, Counted *b) {
            next = a;  // stores into an object under construction need no barrier
            other = b;
        }
    };
    auto make = [] { return new Pair(new Counted, new Pair(new Counted, new Counted)); };
    gc_assign(g_roots[0], make());
    EXPECT_EQ(Counted::live, 5);
    EXPECT_EQ(gc_verify_heap(), "");
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 5);
}

TEST_F(RuntimeGcTest, ThrowingConstructionLeavesTheHeapSound) {
    struct Throws : public Counted {
        explicit Throws(int) { throw 1; }
    };
    auto fail = []() -> Counted * { throw 2; };
    int bytes = gc_alloced_bytes;
    EXPECT_THROW(new Throws(0), int);
    EXPECT_THROW(new Throws((fail(), 0)), int);
    EXPECT_THROW(new Pairless(fail()), int);
    EXPECT_EQ(gc_alloced_bytes, bytes);
    EXPECT_EQ(Counted::live, 0);
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, LocalObjectsStayOutsideTheCollector) {
    Counted local;
    EXPECT_EQ(local.flags, kGcStaticColour);
    int bytes = gc_alloced_bytes;
    gc_mark_q(&local);
    gc_assign(g_roots[0], &local);
    full_collect();
    EXPECT_EQ(local.flags, kGcStaticColour);
    EXPECT_EQ(gc_alloced_bytes, bytes);
    EXPECT_EQ(gc_verify_heap(), "");
    g_roots[0] = nullptr;
}

TEST_F(RuntimeGcTest, InitLeavesEmptyListsWithMatchingCounters) {
    // In a child process: the objects made before gc_init1 are forgotten.
    EXPECT_EXIT(
        {
            gc_assign(g_roots[0], new Obj72);
            new Obj40;
            gc_init1();
            g_roots[0] = nullptr;
            bool ok = gc_verify_heap().empty() && gc_alloced_bytes == 0;
            new Obj40;
            full_collect();
            ok = ok && gc_verify_heap().empty() && gc_free_bytes == 0;
            std::_Exit(ok ? 0 : 1);  // the forgotten objects are never freed
        },
        testing::ExitedWithCode(0), "");
}

TEST(RuntimeGcClock, MicrosIsMonotonic) {
    long long a = gc_micros();
    long long b = gc_micros();
    EXPECT_GT(a, 0);
    EXPECT_GE(b, a);
}

}  // namespace
