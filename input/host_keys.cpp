// The host's keyboard, character and mouse-button callbacks: GLFW 3 key
// codes are translated to the runtime's key codes and handed to the host as
// input events.
//
// Keys the translation table does not list (GLFW_KEY_UNKNOWN, the keypad,
// F13 and above, media and vendor keys) send nothing. A key held down sends
// GLFW_REPEAT actions, and each counts as a further press.

#include <GLFW/glfw3.h>

#include "host/host.h"
#include "input/device.h"

namespace {

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

constexpr int kLowestTableKey = 32;
constexpr int kHighestTableKey = GLFW_KEY_F12;
constexpr int kHighestMouseButton = 2;
// Character values GLFW 3 never sends as key codes, listed with their keys.
constexpr int kDoubleQuoteChar = 34;
constexpr int kTildeChar = 126;

bool IsDigitOrLetter(int key) {
    return (key >= GLFW_KEY_0 && key <= GLFW_KEY_9) || (key >= GLFW_KEY_A && key <= GLFW_KEY_Z);
}

// The runtime's key code for a GLFW key, or 0 when the key sends nothing.
int KeyCodeFor(int key) {
    switch (key) {
        case GLFW_KEY_LEFT_SHIFT:
        case GLFW_KEY_RIGHT_SHIFT:
            return KeyCode::Shift;
        case GLFW_KEY_LEFT_CONTROL:
        case GLFW_KEY_RIGHT_CONTROL:
            return KeyCode::Control;
        default:
            break;
    }
    if (IsDigitOrLetter(key)) return key;
    if (key < kLowestTableKey || key > kHighestTableKey) return 0;
    return BBGlfwGame::TransKey(key);
}

BBGlfwGame *Host() {
    return BBGlfwGame::_glfwGame;
}

}  // namespace

// ---------------------------------------------------------------------------
// Translation
// ---------------------------------------------------------------------------

int BBGlfwGame::TransKey(int key) {
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F12) return KeyCode::F1 + (key - GLFW_KEY_F1);
    switch (key) {
        case GLFW_KEY_SPACE:
            return KeyCode::Space;
        case GLFW_KEY_APOSTROPHE:
        case kDoubleQuoteChar:
            return KeyCode::Quote;
        case GLFW_KEY_COMMA:
            return KeyCode::Comma;
        case GLFW_KEY_MINUS:
            return KeyCode::Minus;
        case GLFW_KEY_PERIOD:
            return KeyCode::Period;
        case GLFW_KEY_SLASH:
            return KeyCode::Slash;
        case GLFW_KEY_SEMICOLON:
            return KeyCode::Semicolon;
        case GLFW_KEY_EQUAL:
            return KeyCode::Equals;
        case GLFW_KEY_LEFT_BRACKET:
            return KeyCode::LeftBracket;
        case GLFW_KEY_BACKSLASH:
            return KeyCode::Backslash;
        case GLFW_KEY_RIGHT_BRACKET:
            return KeyCode::RightBracket;
        case GLFW_KEY_GRAVE_ACCENT:
        case kTildeChar:
            return KeyCode::Backquote;
        case GLFW_KEY_ESCAPE:
            return KeyCode::Escape;
        case GLFW_KEY_UP:
            return KeyCode::Up;
        case GLFW_KEY_DOWN:
            return KeyCode::Down;
        case GLFW_KEY_LEFT:
            return KeyCode::Left;
        case GLFW_KEY_RIGHT:
            return KeyCode::Right;
        case GLFW_KEY_LEFT_SHIFT:
            return KeyCode::LeftShift;
        case GLFW_KEY_RIGHT_SHIFT:
            return KeyCode::RightShift;
        case GLFW_KEY_LEFT_CONTROL:
            return KeyCode::LeftControl;
        case GLFW_KEY_RIGHT_CONTROL:
            return KeyCode::RightControl;
        case GLFW_KEY_TAB:
            return KeyCode::Tab;
        case GLFW_KEY_ENTER:
            return KeyCode::Enter;
        case GLFW_KEY_BACKSPACE:
            return KeyCode::Backspace;
        case GLFW_KEY_INSERT:
            return KeyCode::Insert;
        case GLFW_KEY_DELETE:
            return KeyCode::Delete;
        case GLFW_KEY_PAGE_UP:
            return KeyCode::PageUp;
        case GLFW_KEY_PAGE_DOWN:
            return KeyCode::PageDown;
        case GLFW_KEY_HOME:
            return KeyCode::Home;
        case GLFW_KEY_END:
            return KeyCode::End;
        default:
            return 0;
    }
}

// Control characters for the editing keys; the navigation keys and Insert
// type private codes above 0xFFFF; printable characters come from OnChar.
int BBGlfwGame::KeyToChar(int key) {
    switch (key) {
        case KeyCode::Backspace:
        case KeyCode::Tab:
        case KeyCode::Enter:
        case KeyCode::Escape:
            return key;
        case KeyCode::PageUp:
        case KeyCode::PageDown:
        case KeyCode::End:
        case KeyCode::Home:
        case KeyCode::Left:
        case KeyCode::Up:
        case KeyCode::Right:
        case KeyCode::Down:
        case KeyCode::Insert:
            return kNavigationCharFlag | key;
        case KeyCode::Delete:
            return 127;
        default:
            return 0;
    }
}

// ---------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------

void BBGlfwGame::OnKey(int key, int action) {
    int code = KeyCodeFor(key);
    if (code == 0 || !Host()) return;
    if (action == GLFW_RELEASE) {
        Host()->KeyEvent(BBGameEvent::KeyReleased, code);
    } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
        Host()->KeyEvent(BBGameEvent::KeyPressed, code);
        int chr = KeyToChar(code);
        if (chr != 0) Host()->KeyEvent(BBGameEvent::CharTyped, chr);
    }
}

void BBGlfwGame::OnChar(int chr, int action) {
    if (action == GLFW_PRESS && Host()) Host()->KeyEvent(BBGameEvent::CharTyped, chr);
}

void BBGlfwGame::OnMouseButton(int button, int action) {
    if (button < 0 || button > kHighestMouseButton || !Host()) return;
    GLFWwindow *window = Host()->GetGLFWwindow();
    if (!window) window = glfwGetCurrentContext();
    double x = 0, y = 0;
    if (window) glfwGetCursorPos(window, &x, &y);
    float fx = float(int(x)), fy = float(int(y));
    if (action == GLFW_PRESS) {
        Host()->MouseEvent(BBGameEvent::MousePressed, button, fx, fy);
    } else if (action == GLFW_RELEASE) {
        Host()->MouseEvent(BBGameEvent::MouseReleased, button, fx, fy);
    }
}
