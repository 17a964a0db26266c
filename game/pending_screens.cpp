// Stand-ins for the screen methods whose own files have not landed yet, so
// that the game object links. Each returns its empty result and does
// nothing. Whoever lands a method's real file deletes its stand-in here in
// the same commit; the file goes once it is empty.
#include "game/myapp.h"

// saved_data.cpp
int c_MyApp::p_Load() {
    return 0;
}
int c_MyApp::p_Save() {
    return 0;
}

// menus.cpp
int c_MyApp::p_Menu() {
    return 0;
}
int c_MyApp::p_LoadMenu() {
    return 0;
}
int c_MyApp::p_WaitStart(int) {
    return 0;
}
int c_MyApp::p_PauseMenu() {
    return 0;
}

// gameplay.cpp
String c_MyApp::p_GetWall() {
    return String();
}
int c_MyApp::p_Shift() {
    return 0;
}
int c_MyApp::p_Game() {
    return 0;
}
int c_MyApp::p_InGame() {
    return 0;
}
int c_MyApp::p_LoadGame() {
    return 0;
}

// game_over.cpp
int c_MyApp::p_GC_PostScore(int, int) {
    return 0;
}
int c_MyApp::p_GameOver() {
    return 0;
}

// credits.cpp
int c_MyApp::p_CreditBox() {
    return 0;
}

// badges.cpp
int c_MyApp::p_GC_Badges() {
    return 0;
}
String c_MyApp::p_BadgeID(int) {
    return String();
}
String c_MyApp::p_BadgeName(int) {
    return String();
}
String c_MyApp::p_BadgeDetail(int) {
    return String();
}
int c_MyApp::p_BadgesBox() {
    return 0;
}
int c_MyApp::p_ShowBadges() {
    return 0;
}
