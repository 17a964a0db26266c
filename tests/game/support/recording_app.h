// A game object whose screens only record that they ran, for tests of the
// frame driver and the loader that must not depend on what the screens do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/myapp.h"

class RecordingApp : public c_MyApp {
public:
    std::vector<std::string> calls;
    // Runs inside the named screen, after it is recorded (e.g. to change the
    // screen mode the way the real screen would).
    std::function<void(const std::string &)> onCall;

    int p_Menu() override { return Record("Menu"); }
    int p_LoadMenu() override { return Record("LoadMenu"); }
    int p_Game() override { return Record("Game"); }
    int p_InGame() override { return Record("InGame"); }
    int p_LoadGame() override { return Record("LoadGame"); }
    int p_GameOver() override { return Record("GameOver"); }
    int p_CreditBox() override { return Record("CreditBox"); }
    int p_BadgesBox() override { return Record("BadgesBox"); }
    int p_ShowBadges() override { return Record("ShowBadges"); }
    int p_WaitStart(int mode) override { return Record("WaitStart" + std::to_string(mode)); }
    int p_Load() override { return Record("Load"); }
    int p_Save() override { return Record("Save"); }

    // Calls recorded since the last Take, joined with spaces.
    std::string Take() {
        std::string s;
        for (const std::string &c : calls) s += (s.empty() ? "" : " ") + c;
        calls.clear();
        return s;
    }

private:
    int Record(const std::string &name) {
        calls.push_back(name);
        if (onCall) onCall(name);
        return 0;
    }
};
