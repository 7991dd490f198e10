// X events into core calls: one dispatch, one small handler per event type, and the wait.

// Some Windows-1252 characters have keysyms only in these groups, which keysym.h leaves out.
#define XK_PUBLISHING
#define XK_TECHNICAL

#include "platform/x11/x11_state.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <poll.h>
#include <ctime>

namespace {

struct KeysymToVirtualKey {
    KeySym keysym;
    int virtualKey;
};

// Only the keypad's operator keys count as VK_ADD and the rest; the main keyboard's + and - are
// the OEM keys, = or + unshifted depending on the layout.
const KeysymToVirtualKey KEY_TABLE[] = {
    {XK_Escape, VK_ESCAPE},   {XK_Return, VK_RETURN},   {XK_KP_Enter, VK_RETURN},
    {XK_space, VK_SPACE},     {XK_Tab, VK_TAB},         {XK_BackSpace, VK_BACK},
    {XK_Left, VK_LEFT},       {XK_Up, VK_UP},           {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},       {XK_KP_Add, VK_ADD},      {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Divide, VK_DIVIDE}, {XK_equal, VK_OEM_PLUS},
    {XK_plus, VK_OEM_PLUS},   {XK_minus, VK_OEM_MINUS},
};

struct KeysymToCodePoint {
    KeySym keysym;
    unsigned codePoint;
};

// Keysyms from before Unicode keysyms that name a Windows-1252 character outside Latin-1.
const KeysymToCodePoint LEGACY_CHARACTERS[] = {
    {XK_EuroSign, 0x20AC},           {XK_singlelowquotemark, 0x201A},
    {XK_function, 0x0192},           {XK_doublelowquotemark, 0x201E},
    {XK_ellipsis, 0x2026},           {XK_dagger, 0x2020},
    {XK_doubledagger, 0x2021},       {XK_permille, 0x2030},
    {XK_Scaron, 0x0160},             {XK_OE, 0x0152},
    {XK_Zcaron, 0x017D},             {XK_leftsinglequotemark, 0x2018},
    {XK_rightsinglequotemark, 0x2019}, {XK_leftdoublequotemark, 0x201C},
    {XK_rightdoublequotemark, 0x201D}, {XK_enfilledcircbullet, 0x2022},
    {XK_endash, 0x2013},             {XK_emdash, 0x2014},
    {XK_trademark, 0x2122},          {XK_scaron, 0x0161},
    {XK_oe, 0x0153},                 {XK_zcaron, 0x017E},
    {XK_Ydiaeresis, 0x0178},
};

const unsigned UNICODE_KEYSYM = 0x01000000;
const unsigned ALL_BUTTONS = Button1Mask | Button2Mask | Button3Mask;
const int MIN_KEYCODE = 8;  // what X keycodes range over
const int MAX_KEYCODE = 255;
const unsigned X_WHEEL_UP = 4;  // away from the user
const unsigned X_WHEEL_DOWN = 5;

// The unshifted keysym names the physical key, as a virtual-key code does; the keypad's operator
// keys carry the same keysym whether NumLock is on or off.
int VirtualKeyOf(unsigned keycode)
{
    const KeySym keysym = XkbKeycodeToKeysym(x11.display, (KeyCode)keycode, 0, 0);
    if (keysym >= XK_a && keysym <= XK_z)
        return (int)('A' + (keysym - XK_a));
    if (keysym >= XK_0 && keysym <= XK_9)
        return (int)('0' + (keysym - XK_0));
    for (const KeysymToVirtualKey& entry : KEY_TABLE)
        if (entry.keysym == keysym)
            return entry.virtualKey;
    return 0;
}

unsigned CodePointOfKeysym(KeySym keysym)
{
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
        return (unsigned)keysym;  // Latin-1 keysyms are their characters
    if ((keysym & 0xFF000000) == UNICODE_KEYSYM)
        return (unsigned)(keysym & 0x00FFFFFF);
    for (const KeysymToCodePoint& entry : LEGACY_CHARACTERS)
        if (entry.keysym == keysym)
            return entry.codePoint;
    return 0;
}

// The character a press types, in Windows-1252; 0 for none. XLookupString applies Shift, Caps
// Lock, NumLock and the layout's levels. Its ASCII is taken as it is (control characters such as
// Enter, Esc and Ctrl+letter included, as Windows types them); anything else, whose bytes would
// depend on the locale, is read off the keysym.
unsigned char TypedCharacter(XKeyEvent& event)
{
    char text[8];
    KeySym keysym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text, &keysym, nullptr);
    if (length == 1 && (unsigned char)text[0] < 0x80)
        return (unsigned char)text[0];
    return CodePointToCp1252(CodePointOfKeysym(keysym));
}

int VirtualKeyOfButton(unsigned button)
{
    switch (button) {
    case Button1: return VK_LBUTTON;
    case Button2: return VK_MBUTTON;
    case Button3: return VK_RBUTTON;
    default: return 0;  // extra buttons
    }
}

HWND WindowOf(Window xWindow)
{
    const X11Window* window = FindWindowOfX(xWindow);
    return window ? window->hwnd : nullptr;
}

bool IsBox(Window xWindow)
{
    return x11.box.window != None && xWindow == x11.box.window;
}

// --- one handler per event type ---

void HandleKey(XKeyEvent& event, bool pressed)
{
    if (pressed && IsBox(event.window)) {
        HandleBoxKey(event);
        return;
    }
    if (HWND hwnd = WindowOf(event.window))
        CoreKeyChanged(hwnd, VirtualKeyOf(event.keycode), event.keycode - 8,  // evdev
                       pressed, pressed ? TypedCharacter(event) : 0);
}

// A wheel notch is a press and release of button 4 or 5; the press alone counts. Buttons 6 and
// 7 (sideways) have no Win32 message here.
void HandleButton(const XButtonEvent& event, bool pressed)
{
    if (IsBox(event.window)) {
        HandleBoxButton(event, pressed);
        return;
    }
    HWND hwnd = WindowOf(event.window);
    if (!hwnd)
        return;
    if (event.button != X_WHEEL_UP && event.button != X_WHEEL_DOWN)
        CoreButtonChanged(hwnd, VirtualKeyOfButton(event.button), pressed, event.x_root,
                          event.y_root);
    else if (pressed)
        CoreWheelTurned(hwnd, event.button == X_WHEEL_UP ? WHEEL_DELTA : -WHEEL_DELTA,
                        event.x_root, event.y_root);
}

// Motion reaches the window while the pointer is over it, and during a drag wherever it goes.
void HandleMotion(const XMotionEvent& event)
{
    if (HWND hwnd = WindowOf(event.window))
        CorePointerMoved(hwnd, event.x_root, event.y_root);
}

// The KeymapNotify that follows an EnterNotify or a FocusIn names no window: it is about the
// window of that event, and the buttons held then.
void ExpectKeymap(HWND hwnd, unsigned heldButtons)
{
    x11.keymapWindow = hwnd;
    x11.keymapButtons = heldButtons;
}

// Where the pointer crossed the window's edge: on leaving, the last place the window hears of.
// Entering, it says which buttons are held.
void HandleCrossing(const XCrossingEvent& event)
{
    HWND hwnd = WindowOf(event.window);
    if (!hwnd)
        return;
    CorePointerMoved(hwnd, event.x_root, event.y_root);
    if (event.type == EnterNotify)
        ExpectKeymap(hwnd, event.state & ALL_BUTTONS);
}

// A FocusIn does not say which buttons are held; their releases reach the window that grabbed
// the pointer wherever they happen, so every button counts as held.
void HandleFocusIn(const XFocusChangeEvent& event)
{
    ExpectKeymap(WindowOf(event.window), ALL_BUTTONS);
}

// The server reports which keys are down right after every EnterNotify and FocusIn: a key
// released while the window had neither (outside it, without a window manager, where the focus
// follows the pointer) is released now.
void HandleKeymap(const XKeymapEvent& event)
{
    HWND hwnd = x11.keymapWindow;
    x11.keymapWindow = nullptr;
    if (!hwnd)
        return;
    int down[MAX_KEYCODE + 1 + 3];
    int count = 0;
    for (int keycode = MIN_KEYCODE; keycode <= MAX_KEYCODE; ++keycode)
        if (event.key_vector[keycode / 8] & (1 << (keycode % 8)))
            down[count++] = VirtualKeyOf((unsigned)keycode);
    const struct {
        unsigned mask;
        int virtualKey;
    } buttons[] = {{Button1Mask, VK_LBUTTON}, {Button2Mask, VK_MBUTTON}, {Button3Mask, VK_RBUTTON}};
    for (const auto& button : buttons)
        if (x11.keymapButtons & button.mask)
            down[count++] = button.virtualKey;
    CoreKeysDownAre(hwnd, down, count);
}

// Releases that happen elsewhere never reach the window, so nothing may stay down; focus moving
// to one of the window's own children is no loss.
void HandleFocusOut(const XFocusChangeEvent& event)
{
    if (WindowOf(event.window) && event.detail != NotifyInferior)
        CoreReleaseAllKeys();
}

// A synthetic ConfigureNotify only reports where the window manager put the frame (ICCCM), and
// openbox queues one with the size from before its own resize; sizes come from real ones only.
void HandleConfigure(const XConfigureEvent& event)
{
    HWND hwnd = WindowOf(event.window);
    if (hwnd && !event.send_event)
        CoreClientSized(hwnd, event.width, event.height);
}

// X has no minimised size: the window manager unmaps the window. Win32 reports minimising as a
// client size of 0 by 0, and restoring as the size again.
void HandleUnmap(const XUnmapEvent& event)
{
    if (HWND hwnd = WindowOf(event.window))
        CoreMinimized(hwnd);
}

// Mapped again after minimising, the window may have changed size meanwhile; its geometry, not
// a remembered size, says what the client area is.
void HandleMap(const XMapEvent& event)
{
    if (IsBox(event.window)) {
        HandleBoxMapped();
        return;
    }
    HWND hwnd = WindowOf(event.window);
    if (!hwnd || !hwnd->minimized)
        return;
    XWindowAttributes attributes;
    XGetWindowAttributes(x11.display, event.window, &attributes);
    CoreRestored(hwnd, attributes.width, attributes.height);
}

// The window manager's close (button, menu, Alt+F4) arrives as a WM_DELETE_WINDOW client
// message, because SetWindowIdentity announced the protocol.
void HandleClientMessage(const XClientMessageEvent& event)
{
    if (event.message_type != x11.atoms.wmProtocols || event.format != 32 ||
        (Atom)event.data.l[0] != x11.atoms.wmDeleteWindow)
        return;
    if (IsBox(event.window))
        x11.box.dismissed = true;
    else if (HWND hwnd = WindowOf(event.window))
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
}

// Some window managers (fluxbox) set _NET_FRAME_EXTENTS only after mapping, without being
// asked; TakeFrameExtents decides what to do with it.
void HandleProperty(const XPropertyEvent& event)
{
    X11Window* window = FindWindowOfX(event.window);
    if (window && event.atom == x11.atoms.netFrameExtents)
        TakeFrameExtents(*window);
}

// Exposures come as a series of rectangles; the box is small, so it is redrawn whole after the
// last of them.
void HandleExpose(const XExposeEvent& event)
{
    if (IsBox(event.window) && event.count == 0)
        DrawBox();
}

// Xlib caches the keyboard mapping; when the server reports a new one (a layout switch), the
// cache must be refreshed or keys translate by the old layout.
void HandleMappingChange(XMappingEvent& event)
{
    XRefreshKeyboardMapping(&event);
}

}  // namespace

void DispatchXEvent(XEvent& event)
{

    switch (event.type) {
    case KeyPress: HandleKey(event.xkey, true); break;
    case KeyRelease: HandleKey(event.xkey, false); break;
    case ButtonPress: HandleButton(event.xbutton, true); break;
    case ButtonRelease: HandleButton(event.xbutton, false); break;
    case MotionNotify: HandleMotion(event.xmotion); break;
    case EnterNotify:
    case LeaveNotify: HandleCrossing(event.xcrossing); break;
    case FocusIn: HandleFocusIn(event.xfocus); break;
    case FocusOut: HandleFocusOut(event.xfocus); break;
    case KeymapNotify: HandleKeymap(event.xkeymap); break;
    case ConfigureNotify: HandleConfigure(event.xconfigure); break;
    case UnmapNotify: HandleUnmap(event.xunmap); break;
    case MapNotify: HandleMap(event.xmap); break;
    case ClientMessage: HandleClientMessage(event.xclient); break;
    case PropertyNotify: HandleProperty(event.xproperty); break;
    case Expose: HandleExpose(event.xexpose); break;
    case MappingNotify: HandleMappingChange(event.xmapping); break;
    default: break;
    }
}

// --- what the core asks of events ---

// What finds no room in the core's queue stays in Xlib's, in order, for the next drain.
void BackendDrainEvents()
{
    while (x11.display && CoreHasRoom() && XPending(x11.display)) {
        XEvent event;
        XNextEvent(x11.display, &event);
        DispatchXEvent(event);
    }
}

// Xlib may already hold events it has read, which poll cannot see: the core drains them first
// (BackendDrainEvents). Then this blocks on the socket until data or the deadline; never spins.
bool BackendWaitForEvents(int64_t deadline)
{
    if (!x11.display && deadline == NO_DEADLINE)
        return false;
    timespec timeout = {};
    if (deadline != NO_DEADLINE) {
        const int64_t left = deadline - BackendNow();
        if (left <= 0)
            return true;
        timeout.tv_sec = (time_t)(left / 1000000000);
        timeout.tv_nsec = (long)(left % 1000000000);
    }
    pollfd connection = {x11.display ? ConnectionNumber(x11.display) : -1, POLLIN, 0};
    ppoll(&connection, 1, deadline == NO_DEADLINE ? nullptr : &timeout, nullptr);
    return true;
}

int64_t BackendNow()
{
    return MonotonicClock();
}
