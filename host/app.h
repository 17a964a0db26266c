// The application frame: start-up (bb_std_main, bbInit), the application
// base class c_App, the host's delegate c_GameDelegate that owns the three
// devices, the asynchronous-event pump, and the small standard modules the
// game calls directly (app, random, math).
#pragma once

#include "host/host.h"

class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;
class c_GraphicsContext;
class c_IAsyncEventSource;

// ---------------------------------------------------------------------------
// c_App: the application base class. Every event method returns 0 and does
// nothing here; the game overrides them.
// ---------------------------------------------------------------------------
class c_App : public Object {
public:
    c_App();
    // Registers this object as the application, creates the delegate and
    // installs it in the host. A second application ends the program.
    c_App *m_new();
    virtual int p_OnCreate();
    virtual int p_OnSuspend();
    virtual int p_OnResume();
    virtual int p_OnUpdate();
    virtual int p_OnLoading();
    virtual int p_OnRender();
    void mark() override;
};

// ---------------------------------------------------------------------------
// c_GameDelegate: forwards host events to the devices and the application.
// ---------------------------------------------------------------------------
class c_GameDelegate : public BBGameDelegate {
public:
    gxtkGraphics *graphics = nullptr;
    gxtkAudio *audio = nullptr;
    c_InputDevice *input = nullptr;

    c_GameDelegate();
    c_GameDelegate *m_new();
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
    void mark() override;
};

// Stands for the event type codes; never instantiated.
class c_BBGameEvent : public Object {
public:
    c_BBGameEvent *m_new() { return this; }
};

// ---------------------------------------------------------------------------
// Asynchronous event sources and the stack that holds them.
// ---------------------------------------------------------------------------
class c_IAsyncEventSource : public virtual gc_interface {
public:
    virtual void p_UpdateAsync() = 0;
};

class c_Stack : public Object {
public:
    Array<c_IAsyncEventSource *> data;
    int length = 0;

    c_Stack();
    c_Stack *m_new();
    // Adopts the array and its length.
    c_Stack *m_new2(Array<c_IAsyncEventSource *> data);
    virtual int p_Length();
    virtual c_IAsyncEventSource *p_Get(int index);
    void mark() override;
};

// ---------------------------------------------------------------------------
// Module globals, set by bbInit in this order. The device globals belong to
// their modules (graphics/, audio/, input/) and are declared here as well so
// the frame can be compiled against forward declarations.
// ---------------------------------------------------------------------------
extern int argc;
extern const char **argv;

extern c_App *bb_app__app;
extern c_GameDelegate *bb_app__delegate;
extern BBGame *bb_app__game;
extern gxtkGraphics *bb_graphics_device;        // defined in graphics/
extern c_GraphicsContext *bb_graphics_context;  // defined in graphics/
extern gxtkAudio *bb_audio_device;              // defined in audio/
extern c_InputDevice *bb_input_device;          // defined in input/
extern gxtkGraphics *bb_graphics_renderDevice;  // defined in graphics/
extern int bb_app__updateRate;
extern int HasMusic;
extern int DebugMode;
extern float rawscrw;
extern float rawscrh;
extern float jscrw;
extern float jscrh;
extern int iCadeControls;
extern c_IAsyncEventSource *bb_asyncevent__current;
extern c_Stack *bb_asyncevent__sources;
extern int bb_random_Seed;
extern Array<String> CreditText;
extern int OnScreenControls;
extern int AccelerometerControls;

// ---------------------------------------------------------------------------
// Start-up.
// ---------------------------------------------------------------------------
// Signal handlers, collector lists, bbInit, root marking, the application.
int bb_std_main(int argc, const char **argv);
// Sets every module global to its start value.
int bbInit();
// Creates the application object.
int bbMain();
// Allocates the game's application object and runs its m_new (defined by
// the game).
c_App *bb_create_app();
// Queues the collector's roots in their fixed order (installed with
// gc_set_root_marker by bb_std_main).
void bb_app_MarkRoots();

// ---------------------------------------------------------------------------
// Standard functions.
// ---------------------------------------------------------------------------
int bb_app_SetUpdateRate(int hertz);
int bb_app_Millisecs();
String bb_app_LoadState();
int bb_app_SaveState(String state);

// Wrapping difference of two Millisecs readings (later - earlier), correct
// across the 32-bit wrap of the clock.
inline int bb_app_MillisecsSince(int later, int earlier) {
    return static_cast<int>(static_cast<unsigned>(later) - static_cast<unsigned>(earlier));
}

float bb_random_Rnd();
float bb_random_Rnd2(float low, float high);
float bb_random_Rnd3(float range);

int bb_math_Abs(int x);
float bb_math_Abs2(float x);

int bb_asyncevent_UpdateAsyncEvents();
