// End to end on the test display: keys, typed text and clicks sent to a real
// GLFW window with xdotool reach the input device through the host's
// callbacks.

#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "host/platform.h"
#include "tests/input/test_host.h"

// From GLFW's native-access interface, declared here so the test needs no X
// headers: the window's X11 id.
extern "C" unsigned long glfwGetX11Window(GLFWwindow *window);

namespace {

constexpr double kEventTimeout = 5.0;  // seconds

class InputWindow : public testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY")) GTEST_SKIP() << "needs the test display";
        ASSERT_TRUE(glfwInit());
        window = OpenGameWindow();
        ASSERT_NE(window, nullptr);
        host = new TestHost(window);
        host->Platform()->InstallCallbacks();
        input = host->input();
        id = std::to_string(glfwGetX11Window(window));
        ASSERT_TRUE(PollUntil([&] { return glfwGetWindowAttrib(window, GLFW_VISIBLE); }));
        Run("xdotool windowactivate --sync " + id);
        PollUntil([&] { return glfwGetWindowAttrib(window, GLFW_FOCUSED); });
    }
    void TearDown() override {
        delete host;
        if (window) glfwDestroyWindow(window);
        glfwTerminate();
    }

    static void Run(const std::string &command) {
        EXPECT_EQ(system(command.c_str()), 0) << command;
    }

    // Processes window events until pred holds or the timeout passes.
    template <class Pred>
    bool PollUntil(Pred pred) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kEventTimeout);
        while (!pred()) {
            if (std::chrono::steady_clock::now() > end) return false;
            glfwWaitEventsTimeout(0.01);
        }
        return true;
    }

    std::vector<int> QueuedChars() {
        std::vector<int> chars;
        for (int c; (c = input->p_GetChar()) != 0;) chars.push_back(c);
        return chars;
    }

    GLFWwindow *window = nullptr;
    TestHost *host = nullptr;
    c_InputDevice *input = nullptr;
    std::string id;
};

TEST_F(InputWindow, KeysAndTextReachTheDevice) {
    Run("xdotool key --window " + id + " Up");
    Run("xdotool type --window " + id + " ab");
    ASSERT_TRUE(PollUntil([&] {
        return input->p_KeyHit(KeyCode::Up) == 1 && input->p_KeyHit(KeyCode::A) == 1 &&
               input->p_KeyHit(KeyCode::A + 1) == 1 && !input->p_KeyDown(KeyCode::A + 1);
    }));
    EXPECT_FALSE(input->p_KeyDown(KeyCode::Up));
    EXPECT_EQ(QueuedChars(), (std::vector<int>{0x10000 | KeyCode::Up, 'a', 'b'}));
    input->p_EndUpdate();

    Run("xdotool key --window " + id + " shift+x Escape");
    ASSERT_TRUE(PollUntil([&] { return input->p_KeyHit(KeyCode::Escape) == 1; }));
    EXPECT_EQ(input->p_KeyHit(KeyCode::Shift), 1);
    EXPECT_EQ(input->p_KeyHit('X'), 1);
    EXPECT_EQ(QueuedChars(), (std::vector<int>{'X', 27}));
}

TEST_F(InputWindow, ClicksAndPointerReachTheDevice) {
    Run("xdotool mousemove --window " + id + " 120 80");
    // Sent to the window itself, so no other window on the display can take it.
    Run("xdotool click --window " + id + " 1");
    ASSERT_TRUE(PollUntil([&] {
        return input->p_KeyHit(KeyCode::MouseLeft) == 1 && !input->p_KeyDown(KeyCode::MouseLeft);
    }));
    EXPECT_EQ(input->p_KeyHit(KeyCode::Touch0), 1);
    EXPECT_EQ(input->p_MouseX(), 120);
    EXPECT_EQ(input->p_MouseY(), 80);
    EXPECT_EQ(input->p_TouchX(0), 120);
}

}  // namespace
