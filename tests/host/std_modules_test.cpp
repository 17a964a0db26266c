// The standard modules: the random sequence from the start seed, absolute
// values at their edges, the local date, the app functions through the host,
// and the asynchronous-event pump with sources that remove themselves.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ctime>

#include "host/app.h"
#include "scripted_host.h"

namespace {

TEST(RandomTest, FollowsTheSequenceFromTheStartSeed) {
    bb_random_Seed = 1234;
    const unsigned seeds[] = {3067928073u, 889114580u, 3219257635u};
    const int values[] = {11984094, 3473103, 12575225};
    for (int i = 0; i < 3; ++i) {
        const float r = bb_random_Rnd();
        EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), seeds[i]);
        EXPECT_EQ(r, std::ldexp(static_cast<float>(values[i]), -24));
    }
}

TEST(RandomTest, RangesStillAdvanceTheSeedAndStayInRange) {
    bb_random_Seed = 1234;
    EXPECT_EQ(bb_random_Rnd2(2.5f, 2.5f), 2.5f);
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), 3067928073u);
    EXPECT_EQ(bb_random_Rnd3(0.0f), 0.0f);
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), 889114580u);
    for (int i = 0; i < 10000; ++i) {
        const float r = bb_random_Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        const float v = bb_random_Rnd2(-3.0f, 5.0f);
        ASSERT_GE(v, -3.0f);
        ASSERT_LT(v, 5.0f);
    }
}

TEST(MathTest, AbsoluteValuesAtTheirEdges) {
    EXPECT_EQ(bb_math_Abs(-5), 5);
    EXPECT_EQ(bb_math_Abs(7), 7);
    EXPECT_EQ(bb_math_Abs(INT_MAX), INT_MAX);
    EXPECT_EQ(bb_math_Abs(INT_MIN), INT_MIN);  // two's-complement negation
    EXPECT_EQ(bb_math_Abs2(-2.5f), 2.5f);
    EXPECT_TRUE(std::signbit(bb_math_Abs2(-0.0f)));  // negative zero unchanged
}

TEST(DateTest, FillsOnlyAsFarAsTheArrayReaches) {
    BBGame host;
    Array<int> three(3);
    Array<int> nine(9);
    for (int i = 0; i < 3; ++i) three[i] = -1;
    for (int i = 0; i < 9; ++i) nine[i] = -1;

    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    host.GetDate(three);
    host.GetDate(nine);
    host.GetDate(Array<int>());  // nothing to fill

    EXPECT_EQ(three[0], local.tm_year + 1900);
    EXPECT_EQ(three[1], local.tm_mon + 1);
    EXPECT_EQ(three[2], local.tm_mday);
    EXPECT_EQ(nine[6], 0);
    EXPECT_EQ(nine[7], -1);
    EXPECT_EQ(nine[8], -1);
    EXPECT_GE(nine[3], 0);
    EXPECT_LE(nine[3], 23);
    EXPECT_LE(nine[5], 60);
}

TEST(AppFunctionsTest, GoThroughTheHost) {
    ScriptedPlatform platform;
    ScriptedHost host(&platform);
    bb_app__game = &host;
    platform.now = 2.5;
    EXPECT_EQ(bb_app_SetUpdateRate(30), 0);
    EXPECT_EQ(bb_app__updateRate, 30);
    EXPECT_EQ(host.UpdateRate(), 30);
    EXPECT_EQ(bb_app_Millisecs(), 2500);
    bb_app__game = nullptr;
}

// ---------------------------------------------------------------------------
// The asynchronous-event pump
// ---------------------------------------------------------------------------

// Counts its polls; optionally removes itself from the stack when polled.
class CountingSource : public Object, public c_IAsyncEventSource {
public:
    int polls = 0;
    bool removeSelf = false;
    std::function<void()> during;

    void p_UpdateAsync() override {
        ++polls;
        if (during) during();
        if (!removeSelf) return;
        c_Stack *stack = bb_asyncevent__sources;
        for (int i = 0; i < stack->length; ++i) {
            if (stack->data[i] == static_cast<c_IAsyncEventSource *>(this)) {
                for (int j = i + 1; j < stack->length; ++j) stack->data[j - 1] = stack->data[j];
                stack->length -= 1;
                break;
            }
        }
        gc_assign(bb_asyncevent__current, nullptr);
    }
};

TEST(AsyncEventsTest, PollsEverySourceOnceAndRevisitsAnIndexWhoseSourceLeft) {
    CountingSource *leaving = new CountingSource;
    CountingSource *staying = new CountingSource;
    leaving->removeSelf = true;
    Array<c_IAsyncEventSource *> sources(2);
    sources[0] = leaving;
    sources[1] = staying;
    gc_assign(bb_asyncevent__sources, (new c_Stack)->m_new2(sources));

    EXPECT_EQ(bb_asyncevent_UpdateAsyncEvents(), 0);
    EXPECT_EQ(leaving->polls, 1);
    EXPECT_EQ(staying->polls, 1);
    EXPECT_EQ(bb_asyncevent__sources->p_Length(), 1);
    EXPECT_EQ(bb_asyncevent__current, nullptr);
}

TEST(AsyncEventsTest, ACallWhileAnotherIsInProgressPollsNothing) {
    CountingSource *source = new CountingSource;
    Array<c_IAsyncEventSource *> sources(1);
    sources[0] = source;
    gc_assign(bb_asyncevent__sources, (new c_Stack)->m_new2(sources));
    int inner_polls = -1;
    source->during = [&] {
        EXPECT_EQ(bb_asyncevent_UpdateAsyncEvents(), 0);
        inner_polls = source->polls;
    };
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(source->polls, 1);
    EXPECT_EQ(inner_polls, 1);

    // An empty stack returns at once.
    gc_assign(bb_asyncevent__sources, (new c_Stack)->m_new());
    EXPECT_EQ(bb_asyncevent_UpdateAsyncEvents(), 0);
    EXPECT_EQ(source->polls, 1);
}

}  // namespace
