// libFuzzer target for the saved-state loader: every input is taken as the
// bytes of the state file, decoded as the host decodes that file, and
// loaded into a game object with its start-up defaults.
//
// Beyond the sanitizers' checks it traps when the loaded fields break what
// the loader promises: the on-screen pad values are clamped, and whatever
// was loaded saves and loads back to exactly the same state.
#include <cstdint>
#include <cstdio>

#include "game/myapp.h"
#include "host/app.h"
#include "host/host.h"
#include "runtime/runtime.h"

namespace {

// A host without files: the state is held in memory.
class MemoryStateHost : public BBGame {
public:
    String state;
    String saved;
    String LoadState() override { return state; }
    int SaveState(String s) override {
        saved = s;
        return 0;
    }
};

MemoryStateHost *host = nullptr;
c_MyApp *app = nullptr;

void MarkApp() {
    gc_mark_q(app);
}

// The defaults p_OnCreate gives the saved fields before loading.
void SetDefaults(c_MyApp *a) {
    for (int i = 0; i < kSettingsCount; ++i) a->settings[i] = 0;
    a->settings[kSettingSound] = 1;
    for (int i = 0; i < kBadgeCount; ++i) a->badgeEarned[i] = false;
    for (int i = 0; i < kScoreTableInts; ++i) a->scoreTable[i] = 0;
}

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The loader reports every record on standard output.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    gc_init1();
    host = new MemoryStateHost();
    bb_app__game = host;
    DebugMode = 0;
    app = new c_MyApp();
    gc_set_root_marker(MarkApp);
    gc_init2();  // the roots' initial marking
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > (1u << 20)) return 0;
    host->state = String::Load(data, static_cast<int>(size));
    SetDefaults(app);
    app->p_Load();

    Check(app->settings[10] >= 64 && app->settings[11] >= 64 && app->settings[12] >= 8);

    app->p_Save();
    const String first = host->saved;
    SetDefaults(app);
    host->state = first;
    app->p_Load();
    app->p_Save();
    Check(host->saved == first);

    host->state = String();
    host->saved = String();
    gc_collect();
    return 0;
}
