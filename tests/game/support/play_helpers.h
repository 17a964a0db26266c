// Helpers of the gameplay, menu and game-over tests: a game object that
// records the sounds it plays and the texts it writes, and a fixture that
// starts games, steps the player and reads the board and the draw list.
#pragma once

#include <string>
#include <vector>

#include "input/device.h"
#include "tests/game/support/game_fixture.h"

// The program's game object, with a log of the sound effects it asks for
// and the texts it writes (the real methods still run).
class RecordingApp : public c_MyApp {
public:
    struct Sound {
        int slot;
        float rate;
        int update;  // value of `updates` when it was asked for
    };
    struct Text {
        float x, y;
        std::string text;  // 8-bit copy
        float alignX, alignY;
        int update;
    };

    std::vector<Sound> sounds;
    std::vector<Text> texts;
    int updates = 0;  // counted by OnUpdate
    int gamesStarted = 0;

    int p_OnUpdate() override {
        ++updates;
        return c_MyApp::p_OnUpdate();
    }
    int p_PlaySFX(int n, float rate, float volume, float pan) override {
        sounds.push_back({n, rate, updates});
        return c_MyApp::p_PlaySFX(n, rate, volume, pan);
    }
    int p_Text(float x, float y, String text, float alignX, float alignY) override {
        texts.push_back(
            {x, y, std::string(text.ToCString<char>().c_str()), alignX, alignY, updates});
        return c_MyApp::p_Text(x, y, text, alignX, alignY);
    }
    int p_LoadGame() override {
        ++gamesStarted;
        return c_MyApp::p_LoadGame();
    }

    int CountSounds(int slot) const {
        int n = 0;
        for (const Sound &s : sounds) n += s.slot == slot;
        return n;
    }
    // Texts written in the last update that start with prefix.
    std::vector<Text> TextsStartingWith(const std::string &prefix) const {
        std::vector<Text> out;
        for (const Text &t : texts) {
            if (t.update == updates && t.text.compare(0, prefix.size(), prefix) == 0)
                out.push_back(t);
        }
        return out;
    }
};

// One record of the draw list.
struct DrawRecord {
    float op;  // image slot, or -3717 rectangle, -3716 ellipse
    float x, y, a, b, frame, alpha, red, green, blue;
};

class PlayFixture : public GameFixture {
public:
    c_MyApp *CreateApp() override {
        RecordingApp *a = new RecordingApp();
        a->m_new();
        return a;
    }
    RecordingApp *rec() { return static_cast<RecordingApp *>(app); }

    // Loads (no artwork in the empty data folder) and lets the title menu
    // slide in.
    void ToTitle() {
        FinishLoading();
        Update(40);
    }
    // From the title menu, a new game with Enter.
    void StartGameWithEnter() {
        KeyDown(KeyCode::Enter);
        Update();  // the menu starts a game
        KeyUp(KeyCode::Enter);
        Update();  // p_LoadGame
    }
    void StartPlaying() {
        ToTitle();
        StartGameWithEnter();
        ASSERT_EQ(app->screenMode, kScreenPlaying);
    }

    // Board cell values.
    int &Block(int x, int y) { return app->board[(8 * y + x) * 10]; }
    int &Number(int x, int y) { return app->board[(8 * y + x) * 10 + 1]; }
    int &Wall(int x, int y) { return app->board[(8 * y + x) * 10 + 2]; }
    void ClearBoard() {
        for (int i = 0; i < 640; ++i) app->board[i] = 0;
    }
    void PlacePlayer(int x, int y) {
        app->playerX = static_cast<float>(x);
        app->playerY = static_cast<float>(y);
        app->slideX = app->slideY = 0.0f;
    }
    int PlayerX() const { return static_cast<int>(app->playerX); }
    int PlayerY() const { return static_cast<int>(app->playerY); }

    // Board scale and cell centres on the virtual screen (which is the
    // window at 640 by 480).
    float BoardScale() const {
        float side = jscrw < jscrh ? jscrw : jscrh;
        return side / 530.0f;
    }
    float CellX(int x) const { return jscrw / 2 - 224 * BoardScale() + 64 * BoardScale() * x; }
    float CellY(int y) const { return jscrh / 2 - 224 * BoardScale() + 64 * BoardScale() * y; }

    // One key step: the key is held for one update, then the slide runs out.
    void StepKey(int key) {
        KeyDown(key);
        Update();
        KeyUp(key);
        Update(10);
    }
    void HoldKey(int key, int updates) {
        KeyDown(key);
        Update(updates);
        KeyUp(key);
    }

    std::vector<DrawRecord> Records() const {
        std::vector<DrawRecord> out;
        for (int i = 0; i + 15 <= app->drawListLength; i += 15) {
            const float *r = app->drawList.Data() + i;
            out.push_back({r[0], r[1], r[2], r[4], r[5], r[6], r[7], r[10], r[11], r[12]});
        }
        return out;
    }
    // Frames of image slot 1 drawn at the centre of cell (x, y), in order.
    std::vector<int> FramesAtCell(int x, int y) const {
        std::vector<int> frames;
        for (const DrawRecord &r : Records()) {
            if (r.op == 1.0f && std::fabs(r.x - CellX(x)) < 0.01f &&
                std::fabs(r.y - CellY(y)) < 0.01f)
                frames.push_back(static_cast<int>(r.frame));
        }
        return frames;
    }
};
