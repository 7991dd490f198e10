// Key and button state as the window's X events have reported it, and the pointer position.

#include "x11_state.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

const int KEY_COUNT = 256;
const SHORT DOWN_BIT = (SHORT)0x8000;
const SHORT TOGGLED_BIT = 1;

struct KeyState {
    bool down;
    bool toggled;
};

KeyState keys[KEY_COUNT];

struct KeysymToVirtualKey {
    KeySym keysym;
    int virtualKey;
};

// Only the keypad's operator keys count as VK_ADD and the rest; the main keyboard's differ.
const KeysymToVirtualKey KEY_TABLE[] = {
    {XK_Escape, VK_ESCAPE},   {XK_Return, VK_RETURN},   {XK_KP_Enter, VK_RETURN},
    {XK_space, VK_SPACE},     {XK_Tab, VK_TAB},         {XK_BackSpace, VK_BACK},
    {XK_Left, VK_LEFT},       {XK_Up, VK_UP},           {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},       {XK_KP_Add, VK_ADD},      {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Divide, VK_DIVIDE},
};

// The unshifted keysym names the physical key, as a virtual-key code does; the keypad's operator
// keys carry the same keysym whether NumLock is on or off.
int VirtualKeyOf(Display* display, unsigned keycode)
{
    const KeySym keysym = XkbKeycodeToKeysym(display, (KeyCode)keycode, 0, 0);
    if (keysym >= XK_a && keysym <= XK_z)
        return (int)('A' + (keysym - XK_a));
    if (keysym >= XK_0 && keysym <= XK_9)
        return (int)('0' + (keysym - XK_0));
    for (const KeysymToVirtualKey& entry : KEY_TABLE)
        if (entry.keysym == keysym)
            return entry.virtualKey;
    return 0;
}

int VirtualKeyOfButton(unsigned button)
{
    switch (button) {
    case Button1: return VK_LBUTTON;
    case Button2: return VK_MBUTTON;
    case Button3: return VK_RBUTTON;
    default: return 0;  // wheel and extra buttons
    }
}

// lParam of WM_KEYDOWN / WM_KEYUP: repeat count 1, scan code, previous state, transition.
LPARAM KeyMessageParameter(unsigned keycode, bool wasDown, bool released)
{
    return (LPARAM)(1 | (((keycode - 8) & 0xFF) << 16) | (wasDown ? 1u << 30 : 0u) |
                    (released ? 1u << 31 : 0u));
}

void HandleKey(HWND hwnd, const XKeyEvent& event, bool pressed)
{
    const int virtualKey = VirtualKeyOf(event.display, event.keycode);
    if (virtualKey == 0)
        return;
    KeyState& key = keys[virtualKey];
    const bool wasDown = key.down;
    if (pressed && !wasDown)
        key.toggled = !key.toggled;
    key.down = pressed;
    PostToQueue(hwnd, pressed ? WM_KEYDOWN : WM_KEYUP, (WPARAM)virtualKey,
                KeyMessageParameter(event.keycode, wasDown, !pressed));
}

void HandleButton(const XButtonEvent& event, bool pressed)
{
    const int virtualKey = VirtualKeyOfButton(event.button);
    if (virtualKey != 0)
        keys[virtualKey].down = pressed;
}

}  // namespace

bool TrackInputEvent(HWND hwnd, const XEvent& event)
{
    switch (event.type) {
    case KeyPress: HandleKey(hwnd, event.xkey, true); return true;
    case KeyRelease: HandleKey(hwnd, event.xkey, false); return true;
    case ButtonPress: HandleButton(event.xbutton, true); return true;
    case ButtonRelease: HandleButton(event.xbutton, false); return true;
    case FocusIn: return true;
    case FocusOut:
        // Releases that happen elsewhere never reach this window, so nothing may stay down.
        if (event.xfocus.detail != NotifyInferior)
            ReleaseAllKeys();
        return true;
    default: return false;
    }
}

void ReleaseAllKeys()
{
    for (KeyState& key : keys)
        key.down = false;
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey >= KEY_COUNT)
        return 0;
    const KeyState& key = keys[virtualKey];
    return (SHORT)((key.down ? DOWN_BIT : 0) | (key.toggled ? TOGGLED_BIT : 0));
}

BOOL WINAPI GetCursorPos(POINT* point)
{
    Display* display = point ? OpenedDisplay() : nullptr;
    if (!display)
        return FALSE;
    Window root, child;
    int rootX, rootY, windowX, windowY;
    unsigned mask;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                  &windowY, &mask);
    point->x = rootX;
    point->y = rootY;
    return TRUE;
}
