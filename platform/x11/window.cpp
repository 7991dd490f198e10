// The X side of top-level windows: creation, identity and the frame the window manager adds.

#include "platform/x11/x11_state.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>

namespace {

const long WINDOW_EVENTS = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                           PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                           KeymapStateMask | FocusChangeMask | StructureNotifyMask |
                           PropertyChangeMask;
const int64_t FRAME_EXTENTS_WAIT_NS = 200 * 1000000LL;
const int MAX_SUPPORTED_ATOMS = 1024;

void SetTextProperty(Window xWindow, Atom property, Atom type, const char* value)
{
    XChangeProperty(x11.display, xWindow, property, type, 8, PropModeReplace,
                    (const unsigned char*)value, (int)strlen(value));
}

// Window managers place windows where they like unless the position is a user's request
// (USPosition); the initial state and input hints keep some from starting it iconic or unfocused.
void SetPlacement(const X11Window& window)
{
    XSizeHints sizeHints = {};
    sizeHints.flags = USPosition | PPosition | PSize;
    sizeHints.x = window.hwnd->x;
    sizeHints.y = window.hwnd->y;
    sizeHints.width = window.hwnd->clientWidth;
    sizeHints.height = window.hwnd->clientHeight;
    XSetWMNormalHints(x11.display, window.xWindow, &sizeHints);

    XWMHints wmHints = {};
    wmHints.flags = InputHint | StateHint;
    wmHints.input = True;
    wmHints.initial_state = NormalState;
    XSetWMHints(x11.display, window.xWindow, &wmHints);
}

void DestroyXWindow(X11Window& window)
{
    if (window.xWindow == None)
        return;
    XDestroyWindow(x11.display, window.xWindow);
    XFreeColormap(x11.display, window.colormap);
    window.xWindow = None;
}

bool WindowManagerSupports(Atom wanted)
{
    long supported[MAX_SUPPORTED_ATOMS];
    const int count = ReadProperty32(DefaultRootWindow(x11.display), x11.atoms.netSupported,
                                     XA_ATOM, supported, MAX_SUPPORTED_ATOMS);
    for (int i = 0; i < count; ++i)
        if ((Atom)supported[i] == wanted)
            return true;
    return false;
}

// Xlib forbids Xlib calls in an event predicate (it holds the display lock): the atom was
// interned when the connection opened.
Bool IsFrameExtentsChange(Display*, XEvent* event, XPointer xWindow)
{
    return event->type == PropertyNotify && event->xproperty.window == *(Window*)xWindow &&
           event->xproperty.atom == x11.atoms.netFrameExtents;
}

// Window managers that can tell the frame before mapping answer _NET_REQUEST_FRAME_EXTENTS by
// setting _NET_FRAME_EXTENTS; some list the request as supported and never answer, so the wait is short.
void AskForFrameExtents(X11Window& window)
{
    if (!WindowManagerSupports(x11.atoms.netRequestFrameExtents))
        return;
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.window = window.xWindow;
    message.xclient.message_type = x11.atoms.netRequestFrameExtents;
    message.xclient.format = 32;
    XSendEvent(x11.display, DefaultRootWindow(x11.display), False,
               SubstructureNotifyMask | SubstructureRedirectMask, &message);
    XFlush(x11.display);

    const int64_t deadline = BackendNow() + FRAME_EXTENTS_WAIT_NS;
    XEvent event;
    while (!XCheckIfEvent(x11.display, &event, IsFrameExtentsChange, (XPointer)&window.xWindow))
        if (!BackendWaitForEvents(deadline) || BackendNow() >= deadline)
            return;
    TakeFrameExtents(window);
}

}  // namespace

X11Window* NewXWindowOf(HWND hwnd)
{
    for (X11Window& window : x11.windows)
        if (!window.hwnd) {
            window = X11Window{};
            window.hwnd = hwnd;
            hwnd->native = &window;
            return &window;
        }
    return nullptr;
}

X11Window* FindWindowOfX(Window xWindow)
{
    for (X11Window& window : x11.windows)
        if (window.hwnd && window.xWindow == xWindow)
            return &window;
    return nullptr;
}

// Older window managers read the caption from WM_NAME in Latin-1, EWMH ones from _NET_WM_NAME in
// UTF-8, so both are set; without the close protocol the close button would kill the connection.
void SetWindowIdentity(Window xWindow, const char* caption, const char* className)
{
    char text[768];
    Cp1252ToLatin1(caption, text, sizeof text);
    SetTextProperty(xWindow, XA_WM_NAME, XA_STRING, text);
    Cp1252ToUtf8(caption, text, sizeof text);
    SetTextProperty(xWindow, x11.atoms.netWmName, x11.atoms.utf8String, text);

    char latin1ClassName[256];
    Cp1252ToLatin1(className, latin1ClassName, sizeof latin1ClassName);
    XClassHint classHint = {latin1ClassName, latin1ClassName};
    XSetClassHint(x11.display, xWindow, &classHint);
    XSetWMProtocols(x11.display, xWindow, &x11.atoms.wmDeleteWindow, 1);
}

// X fixes a window's visual when it is created, so a pixel format means a new window; and a
// visual other than the root's needs a colormap of its own, or creation fails with BadMatch.
bool CreateXWindow(X11Window& window, Visual* visual, int depth)
{
    Display* display = x11.display;
    const HWND hwnd = window.hwnd;
    X11Window replacement = window;
    replacement.colormap = XCreateColormap(display, DefaultRootWindow(display), visual, AllocNone);
    XSetWindowAttributes attributes = {};
    attributes.background_pixmap = None;  // the server paints nothing; only frames fill the client
    attributes.border_pixel = 0;
    attributes.colormap = replacement.colormap;
    attributes.event_mask = WINDOW_EVENTS;
    const bool refused = FailsWithXError([&] {
        replacement.xWindow = XCreateWindow(
            display, DefaultRootWindow(display), hwnd->x, hwnd->y, (unsigned)hwnd->clientWidth,
            (unsigned)hwnd->clientHeight, 0, depth, InputOutput, visual,
            CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    });
    if (refused) {
        DestroyXWindow(replacement);
        return false;
    }
    XWindowAttributes old = {};
    if (window.xWindow != None)
        XGetWindowAttributes(display, window.xWindow, &old);
    DestroyXWindow(window);
    window = replacement;
    SetWindowIdentity(window.xWindow, hwnd->caption, hwnd->className);
    SetPlacement(window);
    if (old.map_state != IsUnmapped)
        XMapWindow(display, window.xWindow);
    return true;
}

// Win32 sizes include the frame, X sizes do not. Known during creation, the frame shrinks the
// client before anyone sees it; reported later (fluxbox), it is taken once, unless the user has
// resized the window first, and the real ConfigureNotify then brings the WM_SIZE.
void TakeFrameExtents(X11Window& window)
{
    if (window.frameKnown)
        return;
    window.frameKnown = true;
    long extents[4];  // left, right, top, bottom
    if (ReadProperty32(window.xWindow, x11.atoms.netFrameExtents, XA_CARDINAL, extents, 4) != 4)
        return;
    HWND hwnd = window.hwnd;
    if (hwnd->clientWidth != hwnd->width || hwnd->clientHeight != hwnd->height)
        return;
    const long width = hwnd->width - extents[0] - extents[1];
    const long height = hwnd->height - extents[2] - extents[3];
    const int clientWidth = width > 1 ? (int)width : 1;
    const int clientHeight = height > 1 ? (int)height : 1;
    XResizeWindow(x11.display, window.xWindow, (unsigned)clientWidth, (unsigned)clientHeight);
    if (!hwnd->created)
        CoreClientSized(hwnd, clientWidth, clientHeight);  // what creation reports in its WM_SIZE
}

// --- what the core asks of windows ---

bool BackendCreateWindow(HWND hwnd)
{
    Display* display = x11.display;
    X11Window* window = hwnd->native ? XWindowOf(hwnd) : NewXWindowOf(hwnd);
    if (!window)
        return false;
    if (window->xWindow == None &&
        !CreateXWindow(*window, DefaultVisual(display, DefaultScreen(display)),
                       DefaultDepth(display, DefaultScreen(display))))
        return false;
    AskForFrameExtents(*window);
    XSync(display, False);
    return true;
}

void BackendShowWindow(HWND hwnd)
{
    X11Window* window = XWindowOf(hwnd);
    XMapWindow(x11.display, window->xWindow);
    XSync(x11.display, False);
}

void BackendDestroyWindow(HWND hwnd)
{
    X11Window* window = XWindowOf(hwnd);
    if (!window)
        return;
    DestroyXWindow(*window);
    *window = X11Window{};
    hwnd->native = nullptr;
}
