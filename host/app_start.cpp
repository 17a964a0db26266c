// Start-up of the application frame: the module globals, bbInit, the
// collector's root marker and bb_std_main.
#include <csignal>

#include "audio/audio.h"
#include "game/credit_text.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "input/input.h"

// ---------------------------------------------------------------------------
// Constants and globals
// ---------------------------------------------------------------------------

namespace {

constexpr int kRandomStartSeed = 1234;
constexpr float kVirtualWidth = 640.0f;
constexpr float kVirtualHeight = 480.0f;

}  // namespace

int argc = 0;
const char **argv = nullptr;

c_App *bb_app__app = nullptr;
c_GameDelegate *bb_app__delegate = nullptr;
BBGame *bb_app__game = nullptr;
int bb_app__updateRate = 0;
int HasMusic = 0;
int DebugMode = 0;
float rawscrw = 0.0f;
float rawscrh = 0.0f;
float jscrw = 0.0f;
float jscrh = 0.0f;
int iCadeControls = 0;
c_IAsyncEventSource *bb_asyncevent__current = nullptr;
c_Stack *bb_asyncevent__sources = nullptr;
int bb_random_Seed = 0;
Array<String> CreditText;
int OnScreenControls = 0;
int AccelerometerControls = 0;

// ---------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------

int bbInit() {
    gc_assign(bb_app__app, nullptr);
    gc_assign(bb_app__delegate, nullptr);
    bb_app__game = BBGame::_game;
    gc_assign(bb_graphics_device, nullptr);
    gc_assign(bb_graphics_context, (new c_GraphicsContext)->m_new());
    c_Image::m_DefaultFlags = 0;
    gc_assign(bb_audio_device, nullptr);
    gc_assign(bb_input_device, nullptr);
    gc_assign(bb_graphics_renderDevice, nullptr);
    bb_app__updateRate = 0;
    HasMusic = 0;
    DebugMode = 0;
    rawscrw = kVirtualWidth;
    rawscrh = kVirtualHeight;
    jscrw = kVirtualWidth;
    jscrh = kVirtualHeight;
    iCadeControls = 0;
    gc_assign(bb_asyncevent__current, nullptr);
    gc_assign(bb_asyncevent__sources, (new c_Stack)->m_new());
    bb_random_Seed = kRandomStartSeed;
    gc_assign(CreditText, bb_credits_Text());
    OnScreenControls = 0;
    AccelerometerControls = 0;
    return 0;
}

void bb_app_MarkRoots() {
    gc_mark_q(bb_app__app);
    gc_mark_q(bb_app__delegate);
    gc_mark_q(bb_graphics_device);
    gc_mark_q(bb_graphics_context);
    gc_mark_q(bb_audio_device);
    gc_mark_q(bb_input_device);
    gc_mark_q(bb_graphics_renderDevice);
    gc_mark_q(bb_asyncevent__current);
    gc_mark_q(bb_asyncevent__sources);
    gc_mark_q(CreditText);
}

int bbMain() {
    bb_create_app();
    return 0;
}

int bb_std_main(int argc, const char **argv) {
    ::argc = argc;
    ::argv = argv;

    signal(SIGSEGV, sighandler);
    signal(SIGILL, sighandler);
    signal(SIGFPE, sighandler);

    gc_init1();
    bbInit();
    gc_set_root_marker(bb_app_MarkRoots);
    gc_init2();

    bbMain();
    return 0;
}
