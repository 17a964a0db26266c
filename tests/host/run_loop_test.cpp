// The real run loop and event methods, driven through a scripted window and
// a fake clock; the delegate's calls are checked in order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "host/app.h"
#include "scripted_host.h"

namespace {

constexpr double kPeriod60 = 1.0 / 60;

class RunLoopTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    ScriptedPlatform platform;
    RecordingDelegate *delegate = new RecordingDelegate;
    ScriptedHost host{&platform};

    void SetUp() override {
        platform.log = &log;
        delegate->log = &log;
        host.SetDelegate(delegate);
    }

    void StartAt60Hz() {
        delegate->onStart = [this] { host.SetUpdateRate(60); };
    }

    int Count(const std::string &what) const {
        return static_cast<int>(std::count(log.begin(), log.end(), what));
    }

    // Index of the first entry equal to what at or after from, or -1.
    int Find(const std::string &what, int from = 0) const {
        for (int i = from; i < static_cast<int>(log.size()); ++i) {
            if (log[i] == what) return i;
        }
        return -1;
    }

    // The entries strictly between two indexes.
    std::vector<std::string> Between(int from, int to) const {
        return std::vector<std::string>(log.begin() + from + 1, log.begin() + to);
    }
};

using Log = std::vector<std::string>;

TEST_F(RunLoopTest, StartsRendersAndRunsTheFirstUpdateOnePeriodLater) {
    StartAt60Hz();
    platform.maxBatches = 3;
    host.Run();
    EXPECT_EQ(log, (Log{"callbacks", "start", "render", "poll", "sleep", "poll", "update", "render",
                        "poll"}));
    EXPECT_DOUBLE_EQ(platform.now, kPeriod60);
    EXPECT_DOUBLE_EQ(host.NextUpdateTime(), 2 * kPeriod60);
}

TEST_F(RunLoopTest, FallingBehindRunsFourUpdatesRendersOnceAndRestartsTheClock) {
    StartAt60Hz();
    delegate->onUpdate = [this] { platform.now += 0.1; };  // six periods per update
    platform.maxBatches = 4;
    host.Run();
    const Log burst{"update", "update", "update", "update", "render"};
    const int second = Find("poll", Find("poll") + 1);
    const int third = Find("poll", second + 1);
    const int fourth = Find("poll", third + 1);
    EXPECT_EQ(Between(second, third), burst);
    // The clock was restarted from now, so the next burst starts without a sleep.
    EXPECT_EQ(Between(third, fourth), burst);
    EXPECT_DOUBLE_EQ(host.NextUpdateTime(), platform.now);
}

TEST_F(RunLoopTest, AnUpdateThatStopsTheRateEndsTheBurstWithOneRender) {
    StartAt60Hz();
    delegate->onUpdate = [this] {
        platform.now += 0.1;  // far behind: the burst would otherwise go on
        host.SetUpdateRate(0);
    };
    platform.maxBatches = 7;
    host.Run();
    EXPECT_EQ(Count("update"), 1);
    const int update = Find("update");
    EXPECT_EQ(log[update + 1], "render");
    // Afterwards only event-driven renders.
    EXPECT_EQ(Log(log.begin() + update + 2, log.end()),
              (Log{"poll", "render", "wait", "poll", "render", "wait", "poll"}));
}

TEST_F(RunLoopTest, AtRateZeroEachEventBatchGetsOneRenderAndNoUpdate) {
    platform.maxBatches = 7;
    host.Run();
    EXPECT_EQ(Count("update"), 0);
    EXPECT_EQ(Count("sleep"), 0);
    EXPECT_EQ(log, (Log{"callbacks", "start", "render", "poll", "render", "wait", "poll", "render",
                        "wait", "poll", "render", "wait", "poll"}));
}

TEST_F(RunLoopTest, IconifySuspendsOnceAndOnlyRestoreWithFocusResumes) {
    StartAt60Hz();
    platform.maxBatches = 14;
    platform.script = [this](int batch) {
        if (batch == 3) {
            platform.iconified = true;
            log.push_back("iconified");
        }
        if (batch == 6) {
            platform.iconified = false;
            platform.active = false;
            log.push_back("restored");
        }
        if (batch == 9) {
            platform.active = true;
            log.push_back("focused");
        }
        if (host.Suspended()) platform.now += 1.0;  // time passes while away
    };
    host.Run();

    EXPECT_EQ(Count("suspend"), 1);
    EXPECT_EQ(Count("resume"), 1);
    const int suspend = Find("suspend");
    const int restored = Find("restored");
    const int focused = Find("focused");
    const int resume = Find("resume");
    ASSERT_LT(Find("iconified"), suspend);
    ASSERT_LT(suspend, restored);
    ASSERT_LT(focused, resume);
    // Suspended: neither updates nor renders, only waits for events.
    for (const std::string &entry : Between(suspend, resume)) {
        EXPECT_TRUE(entry == "poll" || entry == "wait" || entry == "restored" || entry == "focused")
            << entry;
    }
    // The clock restarted at the resume: the next update runs at once, and
    // the time spent away is no backlog.
    EXPECT_EQ(log[resume + 1], "update");
    EXPECT_EQ(log[resume + 2], "render");
    EXPECT_FALSE(host.Suspended());
    EXPECT_FALSE(host.Iconified());
}

TEST_F(RunLoopTest, LosingFocusAloneKeepsUpdatingAndRendering) {
    StartAt60Hz();
    platform.maxBatches = 30;
    platform.script = [this](int batch) {
        if (batch == 3) {
            platform.active = false;
            log.push_back("unfocused");
        }
    };
    host.Run();
    const int unfocused = Find("unfocused");
    EXPECT_EQ(Count("suspend"), 0);
    EXPECT_NE(Find("update", unfocused), -1);
    EXPECT_NE(Find("render", unfocused), -1);
}

TEST_F(RunLoopTest, ReturnsAsSoonAsTheWindowIsNoLongerOpen) {
    StartAt60Hz();
    platform.script = [this](int batch) {
        if (batch == 2) platform.open = false;
    };
    host.Run();
    EXPECT_EQ(log.back(), "poll");
    EXPECT_EQ(platform.batches, 2);
}

TEST_F(RunLoopTest, EventMethodsFollowTheirGuardsAndCollectAfterEachDelivery) {
    // Before the start: nothing reaches the delegate and nothing is collected.
    host.SuspendGame();
    host.ResumeGame();
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 65);
    host.MouseEvent(4, 0, 1, 2);
    host.TouchEvent(7, 0, 1, 2);
    host.MotionEvent(10, 0, 1, 2, 3);
    host.DiscardGraphics();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(host.collections, 0);

    host.StartGame();
    host.StartGame();  // only once
    EXPECT_TRUE(host.Started());
    EXPECT_EQ(host.collections, 1);

    host.ResumeGame();  // not suspended: nothing
    host.SuspendGame();
    host.SuspendGame();  // already suspended: nothing
    host.UpdateGame();   // suspended: no update
    host.RenderGame();   // renders while suspended
    host.KeyEvent(1, 65);
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(log, (Log{"start", "suspend", "render", "key 1 65", "resume", "update"}));
    EXPECT_EQ(host.collections, 6);
}

TEST_F(RunLoopTest, WindowCallbacksBecomeEvents) {
    host.StartGame();
    log.clear();
    EXPECT_EQ(BBGlfwGame::OnWindowClose(), 0);
    BBGlfwGame::OnMousePos(12, 34);
    EXPECT_EQ(log, (Log{"key 1 432", "key 2 432", "mouse 6 -1 12 34"}));
}

TEST_F(RunLoopTest, AnUncaughtApplicationExceptionEndsTheProgram) {
    host.StartGame();
    delegate->onUpdate = [] { throw new ThrowableObject; };
    EXPECT_EXIT(
        {
            dup2(2, 1);  // the report goes to standard output
            host.UpdateGame();
        },
        ::testing::ExitedWithCode(255), "Vantix Runtime Error : Uncaught Vantix Exception");
}

TEST_F(RunLoopTest, MillisecsCountsThroughTheThirtyTwoBitWrap) {
    platform.now = 3.0;
    EXPECT_EQ(host.Millisecs(), 3000);
    platform.now = 4194304.0;  // 2^32 + 2^31 - 100663296 ms past the start
    EXPECT_EQ(host.Millisecs(), -100663296);

    platform.now = 2147483.0;
    const int before = host.Millisecs();
    platform.now = 2147484.0;
    const int after = host.Millisecs();
    EXPECT_EQ(before, 2147483000);
    EXPECT_LT(after, 0);
    EXPECT_EQ(bb_app_MillisecsSince(after, before), 1000);
}

TEST_F(RunLoopTest, SetUpdateRateSchedulesOnePeriodAheadAndZeroOnlyStoresTheRate) {
    platform.now = 10.0;
    host.SetUpdateRate(50);
    EXPECT_EQ(host.UpdateRate(), 50);
    EXPECT_DOUBLE_EQ(host.NextUpdateTime(), 10.02);
    platform.now = 20.0;
    host.SetUpdateRate(0);
    EXPECT_EQ(host.UpdateRate(), 0);
    EXPECT_DOUBLE_EQ(host.NextUpdateTime(), 10.02);
}

TEST_F(RunLoopTest, MouseVisibilityGoesToTheWindow) {
    host.SetMouseVisible(false);
    EXPECT_FALSE(platform.cursorVisible);
    host.SetMouseVisible(true);
    EXPECT_TRUE(platform.cursorVisible);
}

}  // namespace
