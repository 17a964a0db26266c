// Input device benchmarks: one update as the host runs it (joystick poll,
// a few key and character events, end of update) and the key callback's
// translation of a GLFW key.

#include <benchmark/benchmark.h>

#include <GLFW/glfw3.h>

#include "host/host.h"
#include "input/device.h"
#include "input/joystick.h"

namespace {

// A host with one joystick always present, and no delegate: events sent
// through it are dropped after translation.
class BenchHost : public BBGlfwGame {
public:
    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z,
                      Array<bool> buttons) override {
        if (port != 0) return false;
        static const float axes[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
        static const unsigned char pressed[32] = {GLFW_PRESS, 0, GLFW_PRESS};
        StoreJoystickState(axes, 6, pressed, 32, x, y, z, buttons);
        return true;
    }
};

void BM_InputUpdate(benchmark::State &state) {
    static BenchHost host;
    c_InputDevice *input = (new c_InputDevice())->m_new();
    for (auto _ : state) {
        input->p_KeyEvent(1, 38);
        input->p_KeyEvent(3, 0x10026);
        input->p_KeyEvent(2, 38);
        input->p_BeginUpdate();
        benchmark::DoNotOptimize(input->p_KeyHit(38));
        benchmark::DoNotOptimize(input->p_GetChar());
        input->p_EndUpdate();
    }
}
BENCHMARK(BM_InputUpdate);

void BM_KeyTranslation(benchmark::State &state) {
    const int keys[] = {GLFW_KEY_A, GLFW_KEY_UP, GLFW_KEY_F10, GLFW_KEY_LEFT_SHIFT, GLFW_KEY_KP_1};
    int i = 0;
    for (auto _ : state) {
        int key = keys[i++ % 5];
        benchmark::DoNotOptimize(BBGlfwGame::TransKey(key) + BBGlfwGame::KeyToChar(key));
    }
}
BENCHMARK(BM_KeyTranslation);

}  // namespace
