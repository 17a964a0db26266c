// The small standard modules the game calls directly: app functions, the
// random generator, absolute values, and the asynchronous-event pump with
// its source stack.
#include <cstdint>

#include "host/app.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// Linear congruential step, modulo 2^32.
constexpr uint32_t kRandomMultiplier = 1664525u;
constexpr uint32_t kRandomIncrement = 1013904223u;
// The top 24 bits of the seed, scaled to [0, 1).
constexpr int kRandomDropBits = 8;
constexpr float kRandomScale = 5.9604645e-8f;  // 2^-24

}  // namespace

// ---------------------------------------------------------------------------
// App functions
// ---------------------------------------------------------------------------

int bb_app_SetUpdateRate(int hertz) {
    bb_app__updateRate = hertz;
    bb_app__game->SetUpdateRate(hertz);
    return 0;
}

int bb_app_Millisecs() {
    return bb_app__game->Millisecs();
}

String bb_app_LoadState() {
    return bb_app__game->LoadState();
}

int bb_app_SaveState(String state) {
    return bb_app__game->SaveState(state);
}

// ---------------------------------------------------------------------------
// Random numbers and absolute values
// ---------------------------------------------------------------------------

float bb_random_Rnd() {
    const uint32_t seed =
        static_cast<uint32_t>(bb_random_Seed) * kRandomMultiplier + kRandomIncrement;
    bb_random_Seed = static_cast<int>(seed);
    return static_cast<float>(seed >> kRandomDropBits) * kRandomScale;
}

float bb_random_Rnd2(float low, float high) {
    return low + (high - low) * bb_random_Rnd();
}

float bb_random_Rnd3(float range) {
    return bb_random_Rnd() * range;
}

// Negated in unsigned arithmetic: the most negative int stays as it is.
int bb_math_Abs(int x) {
    if (x >= 0) return x;
    return static_cast<int>(0u - static_cast<uint32_t>(x));
}

float bb_math_Abs2(float x) {
    return x >= 0 ? x : -x;
}

// ---------------------------------------------------------------------------
// Asynchronous events
// ---------------------------------------------------------------------------

c_Stack::c_Stack() {}

c_Stack *c_Stack::m_new() {
    return this;
}

c_Stack *c_Stack::m_new2(Array<c_IAsyncEventSource *> data) {
    gc_assign(this->data, data);
    length = data.Length();
    return this;
}

int c_Stack::p_Length() {
    return length;
}

c_IAsyncEventSource *c_Stack::p_Get(int index) {
    return data[index];
}

void c_Stack::mark() {
    gc_mark_q(data);
}

int bb_asyncevent_UpdateAsyncEvents() {
    if (bb_asyncevent__current) return 0;
    int i = 0;
    while (i < bb_asyncevent__sources->p_Length()) {
        c_IAsyncEventSource *source = bb_asyncevent__sources->p_Get(i);
        gc_assign(bb_asyncevent__current, source);
        source->p_UpdateAsync();
        // A source that removed itself cleared current: visit the index again.
        if (bb_asyncevent__current) i += 1;
    }
    gc_assign(bb_asyncevent__current, nullptr);
    return 0;
}
