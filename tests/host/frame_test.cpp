// The application frame with the real devices on the test display: the
// start-up globals, the devices created in order before the game's
// OnCreate, events routed through the devices, the render device current
// only during a frame, and the collector's roots queued in their order.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "game/credit_text.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/platform.h"
#include "input/input.h"

namespace {

// One window for the whole test program.
GLFWwindow *TestWindow() {
    static GLFWwindow *window = [] {
        if (!glfwInit()) return static_cast<GLFWwindow *>(nullptr);
        return OpenGameWindow();
    }();
    return window;
}

// Records the frame's calls into the game and what it saw at each.
class TestApp : public c_App {
public:
    std::vector<std::string> calls;
    bool devicesAtCreate = false;
    gxtkGraphics *renderDeviceAtRender = nullptr;
    int keyDownAtUpdate = -1;

    int p_OnCreate() override {
        calls.push_back("create");
        c_GameDelegate *d = bb_app__delegate;
        devicesAtCreate = d->graphics && d->audio && d->input &&
                          bb_graphics_device == d->graphics && bb_audio_device == d->audio &&
                          bb_input_device == d->input;
        return 0;
    }
    int p_OnSuspend() override {
        calls.push_back("suspend");
        return 0;
    }
    int p_OnResume() override {
        calls.push_back("resume");
        return 0;
    }
    int p_OnUpdate() override {
        calls.push_back("update");
        keyDownAtUpdate = bb_input_KeyDown(65);
        return 0;
    }
    int p_OnRender() override {
        calls.push_back("render");
        renderDeviceAtRender = bb_graphics_renderDevice;
        return 0;
    }
};

// An event source, to fill the root that holds the one being polled.
class IdleSource : public Object, public c_IAsyncEventSource {
public:
    void p_UpdateAsync() override {}
};

// The objects on the collector's queue, front first.
std::vector<gc_object *> Queued() {
    std::vector<gc_object *> objects;
    for (gc_object *p = gc_queued_list.succ; p != &gc_queued_list; p = p->succ) {
        objects.push_back(p);
    }
    return objects;
}

class FrameTest : public ::testing::Test {
protected:
    BBVantixGame *host = nullptr;
    TestApp *app = nullptr;

    // bb_std_main's steps, with a test application in place of the game's.
    void SetUp() override {
        ASSERT_NE(TestWindow(), nullptr) << "no display";
        host = new BBVantixGame(TestWindow());
        bbInit();
        gc_set_root_marker(bb_app_MarkRoots);
        gc_init2();
        app = new TestApp;
        app->m_new();
    }

    void TearDown() override {
        gc_set_root_marker(nullptr);
        delete host;
    }
};

TEST_F(FrameTest, StartUpSetsEveryGlobalToItsStartValue) {
    EXPECT_EQ(bb_app__game, host);
    EXPECT_EQ(bb_app__app, app);
    EXPECT_EQ(host->Delegate(), bb_app__delegate);
    EXPECT_EQ(bb_graphics_device, nullptr);
    EXPECT_EQ(bb_audio_device, nullptr);
    EXPECT_EQ(bb_input_device, nullptr);
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);
    EXPECT_NE(bb_graphics_context, nullptr);
    EXPECT_EQ(bb_asyncevent__current, nullptr);
    ASSERT_NE(bb_asyncevent__sources, nullptr);
    EXPECT_EQ(bb_asyncevent__sources->p_Length(), 0);
    EXPECT_EQ(bb_random_Seed, 1234);
    EXPECT_EQ(bb_app__updateRate, 0);
    EXPECT_EQ(HasMusic + DebugMode + iCadeControls + OnScreenControls + AccelerometerControls, 0);
    EXPECT_EQ(rawscrw, 640.0f);
    EXPECT_EQ(rawscrh, 480.0f);
    EXPECT_EQ(jscrw, 640.0f);
    EXPECT_EQ(jscrh, 480.0f);
    ASSERT_EQ(CreditText.Length(), kCreditLines);
    EXPECT_TRUE(CreditText[1] == String("A Game by"));
    EXPECT_TRUE(CreditText[38] == String("End"));
}

TEST_F(FrameTest, StartCreatesGraphicsAudioAndInputInThatOrderBeforeOnCreate) {
    // Each device is queued by the store that installs it, so the queue
    // shows the order of creation.
    bb_app__delegate->StartGame();
    EXPECT_EQ(app->calls, std::vector<std::string>{"create"});
    EXPECT_TRUE(app->devicesAtCreate);
    const std::vector<gc_object *> queued = Queued();
    auto at = [&](gc_object *p) {
        return std::find(queued.begin(), queued.end(), p) - queued.begin();
    };
    const auto graphics = at(bb_graphics_device);
    const auto audio = at(bb_audio_device);
    const auto input = at(bb_input_device);
    ASSERT_LT(input, static_cast<long>(queued.size()));
    EXPECT_LT(graphics, audio);
    EXPECT_LT(audio, input);
}

TEST_F(FrameTest, EventsReachTheInputDeviceAndTheGameReadsThemInItsUpdate) {
    host->StartGame();
    host->KeyEvent(kHostKeyPressed, 65);
    host->UpdateGame();
    EXPECT_EQ(app->keyDownAtUpdate, 1);
    host->KeyEvent(kHostKeyReleased, 65);
    host->UpdateGame();
    EXPECT_EQ(app->keyDownAtUpdate, 0);
    host->SuspendGame();
    host->ResumeGame();
    EXPECT_EQ(app->calls,
              (std::vector<std::string>{"create", "update", "update", "suspend", "resume"}));
}

TEST_F(FrameTest, TheRenderDeviceIsCurrentOnlyDuringTheFrame) {
    host->StartGame();
    host->RenderGame();
    EXPECT_EQ(app->renderDeviceAtRender, bb_graphics_device);
    EXPECT_NE(app->renderDeviceAtRender, nullptr);
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);
}

TEST_F(FrameTest, AFullCollectionKeepsTheFrameAndQueuesTheRootsInOrder) {
    host->StartGame();
    IdleSource *source = new IdleSource;
    gc_assign(bb_asyncevent__current, source);

    gc_force_sweep = true;
    ::gc_collect();  // marks everything reachable, sweeps, then queues the roots

    const std::vector<gc_object *> expected = {
        bb_app__app,
        bb_app__delegate,
        bb_graphics_device,
        bb_graphics_context,
        bb_audio_device,
        bb_input_device,
        source,
        bb_asyncevent__sources,
        CreditText.GetRep(),
    };
    const std::vector<gc_object *> queued = Queued();
    ASSERT_GE(queued.size(), expected.size());
    EXPECT_EQ(std::vector<gc_object *>(queued.begin(), queued.begin() + expected.size()), expected);
    gc_assign(bb_asyncevent__current, nullptr);

    // Everything the frame holds survived: the game still runs.
    host->UpdateGame();
    host->RenderGame();
    EXPECT_EQ(app->calls.back(), "render");
}

TEST_F(FrameTest, ASecondApplicationEndsTheProgram) {
    // The window system and audio run threads: re-run the test in the child.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            // No debugger: the stop protocol reads end of input and ends the process.
            if (!freopen("/dev/null", "r", stdin)) _exit(3);
            (new TestApp)->m_new();
        },
        ::testing::ExitedWithCode(255), "Vantix Runtime Error : App has already been created");
}

}  // namespace
