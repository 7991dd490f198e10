#pragma once
// The X11 backend's one state record and what its files share. Nothing outside platform/x11/
// includes it, except the backend's own tests.
//
// Where the X11 backend differs from Windows, beyond what core/windows.h lists:
// - GetKeyState knows the mouse buttons, the keypad's + - * /, the main keyboard's =/+ and -/_
//   (VK_OEM_PLUS, VK_OEM_MINUS), Esc, Enter, space, Tab, Backspace, the arrows, letters and
//   digits. Dead keys, and characters outside Windows-1252, type nothing.
// - Sideways wheel buttons (6 and 7) post nothing.
// - A window without a class cursor shows the root window's pointer.
// - The outer size is the client size unless the window manager reports its frame extents; when
//   it reports them only after the window is shown, the client is resized once, unless the user
//   has resized it first.
// - Pixel format indices number the server's GLX framebuffer configurations; their order differs
//   from any Windows driver's. SetPixelFormat on a window created without one re-creates its X window.
// - MessageBoxA supports MB_OK only, whatever icon is asked for shows as the error icon, and
//   while it is open no messages are dispatched to other windows.
// - Losing the X server ends the process with exit code 1 and one line on standard error.

#include "platform/core/backend.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

const int MAX_BOX_LINES = 16;
const int MAX_BOX_LINE_LENGTH = 256;

// The atoms the backend uses, interned once when the connection opens.
struct Atoms {
    Atom wmProtocols;
    Atom wmDeleteWindow;
    Atom netWmName;
    Atom utf8String;
    Atom netSupported;
    Atom netRequestFrameExtents;
    Atom netFrameExtents;
    Atom netWmWindowType;
    Atom netWmWindowTypeDialog;
};

// The X side of one program window, its HWND's `native`.
struct X11Window {
    HWND hwnd;       // null when the slot is free
    Window xWindow;  // None until the visual is known
    Colormap colormap;
    GLXFBConfig framebufferConfig;  // null until SetPixelFormat
    bool swapIntervalSet;
    bool frameKnown;  // the frame extents have been taken into account, or can no longer be
};

struct BoxLayout {
    XChar2b lines[MAX_BOX_LINES][MAX_BOX_LINE_LENGTH];
    int lineLengths[MAX_BOX_LINES];
    int lineCount;
    int textX, textY, lineHeight;
    int width, height;
    XRectangle button;
};

struct BoxPalette {
    unsigned long face, text, iconFill, iconMark;
};

// The message box while it is open.
struct MessageBoxWindow {
    Window window;  // None while no box is open
    GC gc;
    XFontStruct* font;
    BoxPalette palette;
    BoxLayout layout;
    bool pressedOnButton;
    bool dismissed;
};

struct X11State {
    Display* display;  // opened on first need
    int trappedErrorCount;
    Atoms atoms;
    X11Window windows[MAX_WINDOWS];  // the records HWND__::native points to
    HWND keymapWindow;  // what the next KeymapNotify is about (ExpectKeymap in events.cpp)
    unsigned keymapButtons;
    MessageBoxWindow box;
};

extern X11State x11;

// --- connection (connection.cpp) ---

// Runs `call` and tells whether the server answered with an error, instead of ending the process.
template <typename Call>
bool FailsWithXError(Call call)
{
    XSync(x11.display, False);
    const int before = x11.trappedErrorCount;
    call();
    XSync(x11.display, False);
    return x11.trappedErrorCount != before;
}

// Reads up to `capacity` 32-bit items of a property of the given type; returns how many.
int ReadProperty32(Window window, Atom property, Atom type, long* values, int capacity);

// --- windows (window.cpp) ---

// The X side of a window, null when it has none yet; NewXWindowOf gives it one.
inline X11Window* XWindowOf(HWND hwnd)
{
    return (X11Window*)hwnd->native;
}
X11Window* NewXWindowOf(HWND hwnd);
// The program window of an X window; null for any other, such as the message box.
X11Window* FindWindowOfX(Window xWindow);
// Creates the X window of `window` with the given visual, or replaces it; false when refused.
bool CreateXWindow(X11Window& window, Visual* visual, int depth);
// Caption (Latin-1 and UTF-8), class name and the close protocol of a top-level window.
void SetWindowIdentity(Window xWindow, const char* caption, const char* className);
// Fits the client inside the outer size asked for, once the frame extents are known.
void TakeFrameExtents(X11Window& window);

// --- events (events.cpp) ---

void DispatchXEvent(XEvent& event);

// --- message box (message_box.cpp) ---

void DrawBox();
void HandleBoxMapped();
void HandleBoxKey(XKeyEvent& event);
void HandleBoxButton(const XButtonEvent& event, bool pressed);
