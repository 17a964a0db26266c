// BBGame: the platform-neutral host base. Stores the delegate and the
// flags, and delivers every event to the delegate through a guard, a
// handler for uncaught application exceptions and a collector step.
#include <cstdlib>
#include <ctime>

#include "host/host.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// Elements GetDate fills: year, month, day, hour, minute, second, 0.
constexpr int kDateFields = 7;

// Calls one delegate operation; an escaping ThrowableObject ends the program.
template <typename Call>
void Deliver(BBGame *host, Call call) {
    try {
        call();
    } catch (ThrowableObject *ex) {
        host->Die(ex);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and plain accessors
// ---------------------------------------------------------------------------

BBGame *BBGame::_game = nullptr;

BBGame::BBGame() {
    _game = this;
}

void BBGame::SetDelegate(BBGameDelegate *delegate) {
    _delegate = delegate;
}
BBGameDelegate *BBGame::Delegate() {
    return _delegate;
}
void BBGame::SetKeyboardEnabled(bool enabled) {
    _keyboardEnabled = enabled;
}
bool BBGame::KeyboardEnabled() {
    return _keyboardEnabled;
}
void BBGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
}
int BBGame::UpdateRate() {
    return _updateRate;
}
bool BBGame::Started() {
    return _started;
}
bool BBGame::Suspended() {
    return _suspended;
}
int BBGame::Millisecs() {
    return 0;
}

bool BBGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) {
    return false;
}

void BBGame::OpenUrl(String) {}
void BBGame::SetMouseVisible(bool) {}

void BBGame::GetDate(Array<int> date) {
    const int n = date.Length();
    if (n <= 0) return;
    const time_t now = time(nullptr);
    struct tm local = {};
    localtime_r(&now, &local);
    const int fields[kDateFields] = {local.tm_year + 1900,
                                     local.tm_mon + 1,
                                     local.tm_mday,
                                     local.tm_hour,
                                     local.tm_min,
                                     local.tm_sec,
                                     0};
    for (int i = 0; i < n && i < kDateFields; ++i) date[i] = fields[i];
}

// ---------------------------------------------------------------------------
// Fatal stop and the collector step
// ---------------------------------------------------------------------------

void BBGame::Die(ThrowableObject *) {
    Print(String("Vantix Runtime Error : Uncaught Vantix Exception"));
    exit(-1);
}

// The delegate is marked at once, so the whole application graph reachable
// from it is queued before the collector step runs.
void BBGame::gc_collect() {
    gc_mark_now(_delegate);
    ::gc_collect();
}

// ---------------------------------------------------------------------------
// Guarded event methods
// ---------------------------------------------------------------------------

void BBGame::StartGame() {
    if (_started) return;
    _started = true;
    if (_delegate) Deliver(this, [this] { _delegate->StartGame(); });
    gc_collect();
}

void BBGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    if (_delegate) Deliver(this, [this] { _delegate->SuspendGame(); });
    gc_collect();
}

void BBGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    if (_delegate) Deliver(this, [this] { _delegate->ResumeGame(); });
    gc_collect();
}

void BBGame::UpdateGame() {
    if (!_started || _suspended) return;
    if (_delegate) Deliver(this, [this] { _delegate->UpdateGame(); });
    gc_collect();
}

void BBGame::RenderGame() {
    if (!_started) return;
    if (_delegate) Deliver(this, [this] { _delegate->RenderGame(); });
    gc_collect();
}

void BBGame::KeyEvent(int event, int data) {
    if (!_started) return;
    if (_delegate) Deliver(this, [&] { _delegate->KeyEvent(event, data); });
    gc_collect();
}

void BBGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    if (_delegate) Deliver(this, [&] { _delegate->MouseEvent(event, data, x, y); });
    gc_collect();
}

void BBGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    if (_delegate) Deliver(this, [&] { _delegate->TouchEvent(event, data, x, y); });
    gc_collect();
}

void BBGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    if (_delegate) Deliver(this, [&] { _delegate->MotionEvent(event, data, x, y, z); });
    gc_collect();
}

void BBGame::DiscardGraphics() {
    if (!_started) return;
    if (_delegate) Deliver(this, [this] { _delegate->DiscardGraphics(); });
    gc_collect();
}
