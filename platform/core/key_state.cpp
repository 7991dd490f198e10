// The key and button state that GetKeyState reads, as the backend has reported it.

#include "platform/core/core_state.h"

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

void CoreKeyChanged(HWND hwnd, int virtualKey, unsigned scanCode, bool pressed)
{
    if (!IsKnown(virtualKey))
        return;
    KeyState& key = core.keys[virtualKey];
    const bool wasDown = key.down;
    if (pressed && !wasDown)
        key.toggled = !key.toggled;
    key.down = pressed;
    CorePostMessage(hwnd, pressed ? WM_KEYDOWN : WM_KEYUP, (WPARAM)virtualKey,
                    KeyMessageParameter(scanCode, wasDown, !pressed));
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
