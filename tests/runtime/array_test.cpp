// array_test.cpp: arrays as collected objects: zero-filled creation, the
// shared empty representations, strings released with their array,
// references kept alive, and element stores through the barrier.
#include <gtest/gtest.h>

#include "gc_test_support.h"

namespace {

const String::Rep *rep_of(const String &s) {
    return reinterpret_cast<const String::Rep *>(s.Data()) - 1;
}

struct ArrayHolder : public Counted {
    Array<Counted *> refs;
    Array<String> strings;
    void mark() override {
        gc_mark_q(refs);
        gc_mark_q(strings);
    }
};

TEST_F(RuntimeGcTest, NewArraysAreZeroFilled) {
    Array<int> ints(3);
    Array<float> floats(2);
    Array<bool> bools(2);
    Array<String> strings(2);
    Array<Counted *> refs(2);
    EXPECT_EQ(ints.Length(), 3);
    for (int v : ints) EXPECT_EQ(v, 0);
    EXPECT_EQ(floats[0] + floats[1], 0.0f);
    EXPECT_FALSE(bools[0] || bools[1]);
    EXPECT_EQ(strings[0], String());
    EXPECT_EQ(strings[1].Length(), 0);
    EXPECT_EQ(refs[0], nullptr);

    int source[4] = {4, 3, 2, 1};
    Array<int> copy(source, 4);
    source[0] = 9;
    EXPECT_EQ(copy[0], 4);
    EXPECT_EQ(copy[3], 1);
}

TEST_F(RuntimeGcTest, EmptyArraysShareOneStaticRepresentationPerType) {
    Array<int> a(0), b, c(-5);
    EXPECT_EQ(a.GetRep(), &Array<int>::nullRep);
    EXPECT_EQ(b.GetRep(), a.GetRep());
    EXPECT_EQ(c.GetRep(), a.GetRep());
    EXPECT_EQ(Array<String>().GetRep(), &Array<String>::nullRep);
    EXPECT_EQ(a.GetRep()->flags & 3, kGcStaticColour);

    // Marking and storing leave it outside every list.
    int bytes = gc_alloced_bytes;
    ArrayHolder *h = new ArrayHolder;
    gc_assign(g_roots[0], h);
    gc_assign(h->refs, Array<Counted *>());
    full_collect();
    full_collect();
    EXPECT_EQ(Array<Counted *>::nullRep.flags, kGcStaticColour);
    EXPECT_EQ(Array<Counted *>::nullRep.succ, nullptr);
    EXPECT_EQ(gc_alloced_bytes, bytes + static_cast<int>((sizeof(ArrayHolder) + 7) / 8 * 8));
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, StringArrayReleasesItsStringsWhenCollected) {
    String kept = String("shared ") + "text";
    ASSERT_EQ(rep_of(kept)->refcount, 1);
    {
        Array<String> strings(3);
        strings[0] = kept;
        strings[2] = kept;
        Array<String> view = strings;  // same representation, no copy
        EXPECT_EQ(rep_of(kept)->refcount, 3);
        EXPECT_EQ(view[2], kept);
    }
    full_collect();
    EXPECT_EQ(rep_of(kept)->refcount, 1);
}

TEST_F(RuntimeGcTest, ReferenceArrayKeepsItsElementsAlive) {
    ArrayHolder *h = new ArrayHolder;
    gc_assign(g_roots[0], h);
    gc_assign(h->refs, Array<Counted *>(100));
    for (int i = 0; i < 100; ++i) h->refs[i] = new Counted;
    for (int i = 0; i < 3; ++i) full_collect();
    EXPECT_EQ(Counted::live, 101);
    for (int i = 0; i < 100; ++i) h->refs[i]->value = i;  // live (ASan)

    h->refs[10] = nullptr;
    h->refs[11] = h->refs[12];
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 99);
    EXPECT_EQ(gc_verify_heap(), "");

    gc_assign(h->refs, Array<Counted *>());
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 1);
}

TEST_F(RuntimeGcTest, ElementStoreIntoAVisitedArrayGoesThroughTheBarrier) {
    ArrayHolder *h = new ArrayHolder;
    gc_assign(g_roots[0], h);
    gc_assign(h->refs, Array<Counted *>(4));
    full_collect();
    gc_collect();  // the small heap is marked completely: the array is black
    ASSERT_TRUE(is_marked(h->refs.GetRep()));
    h->refs[2] = new Counted;
    EXPECT_EQ(gc_verify_heap(), "");
    full_collect();
    EXPECT_EQ(Counted::live, 2);
    ASSERT_NE(h->refs[2], nullptr);
    h->refs[2]->value = 1;
}

TEST_F(RuntimeGcTest, ArrayStoredIntoAVisitedObjectSurvives) {
    ArrayHolder *h = new ArrayHolder;
    gc_assign(g_roots[0], h);
    full_collect();
    gc_collect();
    ASSERT_TRUE(is_marked(h));
    Array<Counted *> fresh(2);
    fresh[0] = new Counted;
    gc_assign(h->refs, fresh);
    Array<String> names(1);
    names[0] = String("name") + "1";
    gc_assign(h->strings, names);
    full_collect();
    EXPECT_EQ(Counted::live, 2);
    EXPECT_EQ(h->strings[0], String("name1"));
    EXPECT_EQ(gc_verify_heap(), "");
}

TEST_F(RuntimeGcTest, ArraysOfInterfacesMarkTheirObjects) {
    struct Source : public virtual gc_interface {};
    struct Impl : public Counted, public virtual Source {};
    struct Holder : public Counted {
        Array<Source *> sources;
        void mark() override { gc_mark_q(sources); }
    };
    Holder *h = new Holder;
    gc_assign(g_roots[0], h);
    gc_assign(h->sources, Array<Source *>(2));
    h->sources[1] = new Impl;
    full_collect();
    full_collect();
    EXPECT_EQ(Counted::live, 2);
    EXPECT_EQ(gc_verify_heap(), "");
}

}  // namespace
