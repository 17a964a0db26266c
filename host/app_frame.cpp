// c_App, the application base class, and c_GameDelegate, the host's
// delegate: it creates the three devices when the game starts and forwards
// host events to them and to the application object.
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "input/input.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// First character of the default font.
constexpr int kDefaultFontFirstChar = 32;

// BeginRender's answer when the application should draw its loading screen.
constexpr int kRenderLoading = 2;

}  // namespace

// ---------------------------------------------------------------------------
// c_App
// ---------------------------------------------------------------------------

c_App::c_App() {}

c_App *c_App::m_new() {
    if (bb_app__app) Error(String("App has already been created"));
    gc_assign(bb_app__app, this);
    gc_assign(bb_app__delegate, (new c_GameDelegate)->m_new());
    bb_app__game->SetDelegate(bb_app__delegate);
    return this;
}

int c_App::p_OnCreate() {
    return 0;
}
int c_App::p_OnSuspend() {
    return 0;
}
int c_App::p_OnResume() {
    return 0;
}
int c_App::p_OnUpdate() {
    return 0;
}
int c_App::p_OnLoading() {
    return 0;
}
int c_App::p_OnRender() {
    return 0;
}
void c_App::mark() {}

// ---------------------------------------------------------------------------
// c_GameDelegate
// ---------------------------------------------------------------------------

c_GameDelegate::c_GameDelegate() {}

c_GameDelegate *c_GameDelegate::m_new() {
    return this;
}

void c_GameDelegate::StartGame() {
    gc_assign(graphics, new gxtkGraphics);
    gc_assign(bb_graphics_device, graphics);
    bb_graphics_SetFont(nullptr, kDefaultFontFirstChar);
    gc_assign(audio, new gxtkAudio);
    gc_assign(bb_audio_device, audio);
    gc_assign(input, (new c_InputDevice)->m_new());
    gc_assign(bb_input_device, input);
    bb_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    bb_app__app->p_OnSuspend();
    audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    audio->Resume();
    bb_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    input->p_BeginUpdate();
    bb_app__app->p_OnUpdate();
    input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    const int mode = graphics->BeginRender();
    if (mode != 0) {
        bb_graphics_BeginRender();
        if (mode == kRenderLoading) {
            bb_app__app->p_OnLoading();
        } else {
            bb_app__app->p_OnRender();
        }
        bb_graphics_renderDevice = nullptr;
    }
    graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    input->p_KeyEvent(event, data);
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() {
    graphics->DiscardGraphics();
}

void c_GameDelegate::mark() {
    gc_mark_q(graphics);
    gc_mark_q(audio);
    gc_mark_q(input);
}
