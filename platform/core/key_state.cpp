// The key and button state that GetKeyState reads, as the backend has reported it, and the
// input messages the backend's keys, wheel and characters post.

#include "platform/core/core_state.h"

#include <climits>

namespace {

const SHORT DOWN_BIT = (SHORT)0x8000;
const SHORT TOGGLED_BIT = 1;

bool IsKnown(int virtualKey)
{
    return virtualKey > 0 && virtualKey < KEY_COUNT;
}

// lParam of WM_KEYDOWN / WM_KEYUP: repeat count 1, scan code, previous state, transition.
LPARAM KeyMessageParameter(unsigned scanCode, bool wasDown, bool released)
{
    return (LPARAM)(1 | ((scanCode & 0xFF) << 16) | (wasDown ? 1u << 30 : 0u) |
                    (released ? 1u << 31 : 0u));
}

}  // namespace

void CoreKeyChanged(HWND hwnd, int virtualKey, unsigned scanCode, bool pressed,
                    unsigned char character)
{
    if (!IsKnown(virtualKey)) {
        // Such a key still types: its character is posted at once, as no key-down carries it.
        if (pressed && character != 0)
            CorePostMessage(hwnd, WM_CHAR, character, KeyMessageParameter(scanCode, false, false));
        return;
    }
    KeyState& key = core.keys[virtualKey];
    const bool wasDown = key.down;
    if (pressed && !wasDown)
        key.toggled = !key.toggled;
    key.down = pressed;
    PostTypingMessage(hwnd, pressed ? WM_KEYDOWN : WM_KEYUP, (WPARAM)virtualKey,
                      KeyMessageParameter(scanCode, wasDown, !pressed), pressed ? character : 0);
}

// The delta travels in the high word of wParam as a signed 16-bit value.
void CoreWheelTurned(HWND hwnd, int delta, int screenX, int screenY)
{
    const int clamped = delta < SHRT_MIN ? SHRT_MIN : delta > SHRT_MAX ? SHRT_MAX : delta;
    CorePostMessage(hwnd, WM_MOUSEWHEEL, (WPARAM)(DWORD)((DWORD)(WORD)clamped << 16),
                    MAKELPARAM(screenX, screenY));
}

// Repeat count 1, no scan code: no key was involved.
void CoreCharTyped(HWND hwnd, unsigned char character)
{
    CorePostMessage(hwnd, WM_CHAR, character, 1);
}

void CoreButtonChanged(int virtualKey, bool pressed)
{
    if (IsKnown(virtualKey))
        core.keys[virtualKey].down = pressed;
}

void CoreReleaseAllKeys()
{
    for (KeyState& key : core.keys)
        key.down = false;
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey >= KEY_COUNT)
        return 0;
    const KeyState& key = core.keys[virtualKey];
    return (SHORT)((key.down ? DOWN_BIT : 0) | (key.toggled ? TOGGLED_BIT : 0));
}
