// The input messages that the backend's keys, buttons, pointer, wheel and characters post, and
// the key state and cursor that GetKeyState and GetCursorPos read: as of the last message
// retrieved, as on Windows, so that both tell of the same moment.

#include "platform/core/core_state.h"

#include <climits>

namespace {

const SHORT DOWN_BIT = (SHORT)0x8000;
const SHORT TOGGLED_BIT = 1;

struct ButtonMessages {
    int virtualKey;
    UINT down, up;
};

const ButtonMessages BUTTONS[] = {
    {VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
    {VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
    {VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
};

bool IsKnown(int virtualKey)
{
    return virtualKey > 0 && virtualKey < KEY_COUNT;
}

const ButtonMessages* ButtonOf(int virtualKey)
{
    for (const ButtonMessages& button : BUTTONS)
        if (button.virtualKey == virtualKey)
            return &button;
    return nullptr;
}

// lParam of WM_KEYDOWN / WM_KEYUP: repeat count 1, scan code, previous state, transition.
LPARAM KeyMessageParameter(unsigned scanCode, bool wasDown, bool released)
{
    return (LPARAM)(1 | ((scanCode & 0xFF) << 16) | (wasDown ? 1u << 30 : 0u) |
                    (released ? 1u << 31 : 0u));
}

LPARAM PositionParameter(POINT position)
{
    return MAKELPARAM(position.x, position.y);
}

// The delta travels in the high word of wParam as a signed 16-bit value.
WPARAM WheelParameter(int delta)
{
    return (WPARAM)(DWORD)((DWORD)(WORD)delta << 16);
}

void SetPosted(HWND hwnd, int virtualKey, bool down)
{
    if (core.keysPosted[virtualKey] != down)
        core.keysPostedDown += down ? 1 : -1;
    core.keysPosted[virtualKey] = down;
    core.inputWindow = hwnd;
}

void PostButton(HWND hwnd, const ButtonMessages& button, bool pressed)
{
    SetPosted(hwnd, button.virtualKey, pressed);
    CorePostMessage(hwnd, pressed ? button.down : button.up, 0, PositionParameter(core.cursorPosted));
}

void PostRelease(HWND hwnd, int virtualKey)
{
    if (const ButtonMessages* button = ButtonOf(virtualKey)) {
        PostButton(hwnd, *button, false);
        return;
    }
    SetPosted(hwnd, virtualKey, false);
    PostTypingMessage(hwnd, WM_KEYUP, (WPARAM)virtualKey, KeyMessageParameter(0, true, true), 0);
}

bool IsListed(int virtualKey, const int* virtualKeys, int count)
{
    for (int i = 0; i < count; ++i)
        if (virtualKeys[i] == virtualKey)
            return true;
    return false;
}

void SetRetrieved(int virtualKey, bool down)
{
    KeyState& key = core.keys[virtualKey];
    if (down && !key.down)
        key.toggled = !key.toggled;
    key.down = down;
}

}  // namespace

// --- what the backend reports ---

void CoreKeyChanged(HWND hwnd, int virtualKey, unsigned scanCode, bool pressed,
                    unsigned char character)
{
    if (!IsKnown(virtualKey)) {
        // Such a key still types: its character is posted at once, as no key-down carries it.
        if (pressed && character != 0)
            CorePostMessage(hwnd, WM_CHAR, character, KeyMessageParameter(scanCode, false, false));
        return;
    }
    const bool wasDown = core.keysPosted[virtualKey];
    SetPosted(hwnd, virtualKey, pressed);
    PostTypingMessage(hwnd, pressed ? WM_KEYDOWN : WM_KEYUP, (WPARAM)virtualKey,
                      KeyMessageParameter(scanCode, wasDown, !pressed), pressed ? character : 0);
}

void CoreButtonChanged(HWND hwnd, int virtualKey, bool pressed, int screenX, int screenY)
{
    const ButtonMessages* button = ButtonOf(virtualKey);
    if (!button)
        return;
    core.cursorPosted = POINT{screenX, screenY};
    PostButton(hwnd, *button, pressed);
}

// As Windows merges moves: only the latest position of a run matters.
void CorePointerMoved(HWND hwnd, int screenX, int screenY)
{
    core.cursorPosted = POINT{screenX, screenY};
    const LPARAM position = PositionParameter(core.cursorPosted);
    if (MSG* last = LastQueued(hwnd, WM_MOUSEMOVE)) {
        last->lParam = position;
        last->pt = core.cursorPosted;
        return;
    }
    CorePostMessage(hwnd, WM_MOUSEMOVE, 0, position);
}

// A run of turns adds up in one message while the sum fits its 16 bits; a single turn beyond
// them is clamped.
void CoreWheelTurned(HWND hwnd, int delta, int screenX, int screenY)
{
    core.cursorPosted = POINT{screenX, screenY};
    const LPARAM position = PositionParameter(core.cursorPosted);
    MSG* last = LastQueued(hwnd, WM_MOUSEWHEEL);
    const int sum = last ? GET_WHEEL_DELTA_WPARAM(last->wParam) + delta : 0;
    if (last && sum >= SHRT_MIN && sum <= SHRT_MAX) {
        *last = MSG{hwnd, WM_MOUSEWHEEL, WheelParameter(sum), position, last->time, core.cursorPosted};
        return;
    }
    const int clamped = delta < SHRT_MIN ? SHRT_MIN : delta > SHRT_MAX ? SHRT_MAX : delta;
    CorePostMessage(hwnd, WM_MOUSEWHEEL, WheelParameter(clamped), position);
}

// Repeat count 1, no scan code: no key was involved.
void CoreCharTyped(HWND hwnd, unsigned char character)
{
    CorePostMessage(hwnd, WM_CHAR, character, 1);
}

void CoreKeysDownAre(HWND hwnd, const int* virtualKeys, int count)
{
    for (int virtualKey = 1; virtualKey < KEY_COUNT; ++virtualKey)
        if (core.keysPosted[virtualKey] && !IsListed(virtualKey, virtualKeys, count))
            PostRelease(hwnd, virtualKey);
}

void CoreReleaseAllKeys()
{
    CoreKeysDownAre(core.inputWindow, nullptr, 0);
}

// --- what the program reads ---

void TakeInputState(const MSG& message)
{
    core.cursor = message.pt;
    if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
        IsKnown((int)message.wParam))
        SetRetrieved((int)message.wParam, message.message == WM_KEYDOWN);
    for (const ButtonMessages& button : BUTTONS)
        if (message.message == button.down || message.message == button.up)
            SetRetrieved(button.virtualKey, message.message == button.down);
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey >= KEY_COUNT)
        return 0;
    const KeyState& key = core.keys[virtualKey];
    return (SHORT)((key.down ? DOWN_BIT : 0) | (key.toggled ? TOGGLED_BIT : 0));
}

BOOL WINAPI GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = core.cursor;
    return TRUE;
}
