// BBGlfwGame::Run: the fixed-rate loop. Polls window events, suspends on
// iconify and resumes when restored and focused, sleeps until the next
// update is due, runs one to four updates and renders once.
#include "host/host.h"
#include "host/platform.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// Updates per rendered frame at most; a longer backlog is dropped.
constexpr int kMaxUpdatesPerRender = 4;

}  // namespace

// ---------------------------------------------------------------------------
// The loop
// ---------------------------------------------------------------------------

void BBGlfwGame::Run() {
    HostPlatform &platform = *_platform;
    platform.InstallCallbacks();

    StartGame();
    RenderGame();

    for (;;) {
        platform.PollEvents();
        if (!platform.WindowOpen()) return;

        if (platform.WindowIconified()) {
            if (!_suspended) {
                _iconified = true;
                SuspendGame();
            }
        } else if (platform.WindowActive() && _suspended) {
            _iconified = false;
            ResumeGame();
            _nextUpdateTime = platform.Now();
        }

        // Nothing to update: render per batch of events.
        if (_updateRate == 0 || _suspended) {
            if (!_iconified) RenderGame();
            platform.WaitEvents();
            continue;
        }

        const double delay = _nextUpdateTime - platform.Now();
        if (delay > 0) {
            platform.Sleep(delay);
            continue;
        }

        bool behind = true;
        for (int updates = 0; updates < kMaxUpdatesPerRender; ++updates) {
            _nextUpdateTime += _updatePeriod;
            UpdateGame();
            if (_updateRate == 0 || _nextUpdateTime - platform.Now() > 0) {
                behind = false;
                break;
            }
        }
        RenderGame();
        // Still due after four updates: resynchronise instead of catching up.
        if (behind && _updateRate != 0) _nextUpdateTime = platform.Now();
    }
}
