// Press edges of the playing screen's key controls (see play_keys.h). The
// process has exactly one game object, so the readings live here.
#include "game/play_keys.h"

#include "game/myapp.h"

namespace {

constexpr int kTracked[] = {kControlUp,   kControlLeft,    kControlRight,
                            kControlDown, kControlAction1, kControlBack};
constexpr int kTrackedCount = sizeof(kTracked) / sizeof(kTracked[0]);

bool heldNow[kTrackedCount];
bool heldBefore[kTrackedCount];

int IndexOf(int control) {
    for (int i = 0; i < kTrackedCount; ++i) {
        if (kTracked[i] == control) return i;
    }
    return -1;
}

}  // namespace

namespace play_keys {

void Sample(c_MyApp *app) {
    for (int i = 0; i < kTrackedCount; ++i) {
        heldBefore[i] = heldNow[i];
        heldNow[i] = app->p_PlayKey(kTracked[i]);
    }
}

void Reset(c_MyApp *app) {
    for (int i = 0; i < kTrackedCount; ++i) {
        heldNow[i] = app->p_PlayKey(kTracked[i]);
        heldBefore[i] = heldNow[i];
    }
}

bool Pressed(int control) {
    int i = IndexOf(control);
    return i >= 0 && heldNow[i] && !heldBefore[i];
}

}  // namespace play_keys
