// Window classes and top-level windows: a Win32 window is an X window plus this record.

#include "x11_state.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <cstring>
#include <strings.h>
#include <ctime>

namespace {

const int MAX_CLASSES = 8;
const int MAX_WINDOWS = 8;
const ATOM FIRST_CLASS_ATOM = 0xC000;  // where Windows numbers registered classes from
const long WINDOW_EVENTS = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                           FocusChangeMask | StructureNotifyMask | PropertyChangeMask;
const int FRAME_EXTENTS_WAIT_MS = 200;

struct WindowClass {
    char name[256];
    WNDPROC procedure;
};

WindowClass classes[MAX_CLASSES];
int classCount = 0;
HWND__ windows[MAX_WINDOWS];

const WindowClass* FindClass(const char* name)
{
    for (int i = 0; i < classCount; ++i)
        if (strcasecmp(classes[i].name, name) == 0)  // class names ignore case on Windows
            return &classes[i];
    return nullptr;
}

void CopyText(char* out, size_t outSize, const char* text)
{
    size_t used = 0;
    for (; text && text[used] && used + 1 < outSize; ++used)
        out[used] = text[used];
    out[used] = '\0';
}

HWND NewWindowRecord()
{
    for (HWND__& window : windows)
        if (!window.inUse) {
            window = HWND__{};
            window.inUse = true;
            window.deviceContext.window = &window;
            return &window;
        }
    return nullptr;
}

void SetTextProperty(Display* display, Window xWindow, const char* name, const char* type,
                     const char* value)
{
    XChangeProperty(display, xWindow, InternAtom(name), InternAtom(type), 8, PropModeReplace,
                    (const unsigned char*)value, (int)strlen(value));
}

// Caption (Latin-1 for old readers, UTF-8 for EWMH ones), class, position, close protocol.
void ApplyWindowProperties(Display* display, HWND hwnd)
{
    char text[768];
    Cp1252ToLatin1(hwnd->caption, text, sizeof text);
    SetTextProperty(display, hwnd->xWindow, "WM_NAME", "STRING", text);
    Cp1252ToUtf8(hwnd->caption, text, sizeof text);
    SetTextProperty(display, hwnd->xWindow, "_NET_WM_NAME", "UTF8_STRING", text);

    char className[256];
    Cp1252ToLatin1(hwnd->className, className, sizeof className);
    XClassHint classHint = {className, className};
    XSetClassHint(display, hwnd->xWindow, &classHint);

    // Window managers place windows where they like unless the position is a user's request.
    XSizeHints sizeHints = {};
    sizeHints.flags = USPosition | PPosition | PSize;
    sizeHints.x = hwnd->x;
    sizeHints.y = hwnd->y;
    sizeHints.width = hwnd->clientWidth;
    sizeHints.height = hwnd->clientHeight;
    XSetWMNormalHints(display, hwnd->xWindow, &sizeHints);

    XWMHints wmHints = {};
    wmHints.flags = InputHint | StateHint;
    wmHints.input = True;
    wmHints.initial_state = NormalState;
    XSetWMHints(display, hwnd->xWindow, &wmHints);

    Atom deleteWindow = InternAtom("WM_DELETE_WINDOW");
    XSetWMProtocols(display, hwnd->xWindow, &deleteWindow, 1);
}

bool WindowManagerSupports(Display* display, Atom wanted)
{
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display), InternAtom("_NET_SUPPORTED"), 0, 4096,
                       False, XA_ATOM, &type, &format, &count, &remaining, &data);
    bool found = false;
    for (unsigned long i = 0; data && format == 32 && i < count; ++i)
        found = found || ((Atom*)data)[i] == wanted;
    if (data)
        XFree(data);
    return found;
}

long MillisecondsSince(const timespec& start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

Bool IsFrameExtentsChange(Display*, XEvent* event, XPointer xWindow)
{
    return event->type == PropertyNotify && event->xproperty.window == *(Window*)xWindow &&
           event->xproperty.atom == InternAtom("_NET_FRAME_EXTENTS");
}

// Win32 sizes include the frame; X sizes do not. Window managers that can tell the frame before
// mapping answer _NET_REQUEST_FRAME_EXTENTS by setting the property; others are not asked.
bool ReadFrameExtents(Display* display, HWND hwnd, long extents[4])
{
    const Atom request = InternAtom("_NET_REQUEST_FRAME_EXTENTS");
    if (!WindowManagerSupports(display, request))
        return false;
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.window = hwnd->xWindow;
    message.xclient.message_type = request;
    message.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureNotifyMask | SubstructureRedirectMask, &message);
    XFlush(display);

    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    XEvent event;
    while (!XCheckIfEvent(display, &event, IsFrameExtentsChange, (XPointer)&hwnd->xWindow)) {
        const long left = FRAME_EXTENTS_WAIT_MS - MillisecondsSince(start);
        if (left <= 0)
            return false;
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, (int)left);
    }

    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, hwnd->xWindow, InternAtom("_NET_FRAME_EXTENTS"), 0, 4, False,
                       XA_CARDINAL, &type, &format, &count, &remaining, &data);
    const bool complete = data && format == 32 && count == 4;
    for (int i = 0; complete && i < 4; ++i)
        extents[i] = ((long*)data)[i];
    if (data)
        XFree(data);
    return complete;
}

// Makes the client area the outer size less the frame, where the frame is known.
void FitClientInsideFrame(Display* display, HWND hwnd)
{
    long extents[4];  // left, right, top, bottom
    if (!ReadFrameExtents(display, hwnd, extents))
        return;
    const long width = hwnd->width - extents[0] - extents[1];
    const long height = hwnd->height - extents[2] - extents[3];
    hwnd->clientWidth = width > 1 ? (int)width : 1;
    hwnd->clientHeight = height > 1 ? (int)height : 1;
    XResizeWindow(display, hwnd->xWindow, hwnd->clientWidth, hwnd->clientHeight);
}

struct CreateRequest {
    Display* display;
    HWND hwnd;
    Visual* visual;
    int depth;
    Colormap colormap;
    Window created;
};

void CreateXWindowCall(void* context)
{
    CreateRequest& request = *(CreateRequest*)context;
    XSetWindowAttributes attributes = {};
    attributes.background_pixmap = None;  // the server paints nothing; only frames fill the client
    attributes.border_pixel = 0;
    attributes.colormap = request.colormap;
    attributes.event_mask = WINDOW_EVENTS;
    request.created = XCreateWindow(
        request.display, DefaultRootWindow(request.display), request.hwnd->x, request.hwnd->y,
        (unsigned)request.hwnd->clientWidth, (unsigned)request.hwnd->clientHeight, 0, request.depth,
        InputOutput, request.visual, CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask,
        &attributes);
}

}  // namespace

HWND FindWindowOfX(Window xWindow)
{
    for (HWND__& window : windows)
        if (window.inUse && window.xWindow == xWindow)
            return &window;
    return nullptr;
}

bool CreateXWindow(HWND hwnd, Visual* visual, int depth)
{
    Display* display = CurrentDisplay();
    // A visual other than the root's needs its own colormap, or creation fails with BadMatch.
    CreateRequest request = {display, hwnd, visual, depth,
                             XCreateColormap(display, DefaultRootWindow(display), visual, AllocNone),
                             None};
    if (FailsWithXError(CreateXWindowCall, &request)) {
        if (request.created != None)
            XDestroyWindow(display, request.created);
        XFreeColormap(display, request.colormap);
        return false;
    }
    XWindowAttributes old = {};
    const Window previous = hwnd->xWindow;
    if (previous != None) {
        XGetWindowAttributes(display, previous, &old);
        XDestroyWindow(display, previous);
        XFreeColormap(display, hwnd->colormap);
    }
    hwnd->xWindow = request.created;
    hwnd->colormap = request.colormap;
    ApplyWindowProperties(display, hwnd);
    if (previous != None && old.map_state != IsUnmapped)
        XMapWindow(display, hwnd->xWindow);
    return true;
}

void ForgetAllWindows()
{
    Display* display = CurrentDisplay();
    for (HWND__& window : windows) {
        if (window.inUse && display && window.xWindow != None) {
            XDestroyWindow(display, window.xWindow);
            XFreeColormap(display, window.colormap);
        }
        window = HWND__{};
    }
}

void ForgetAllClasses()
{
    classCount = 0;
}

// --- window classes ---

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc ||
        classCount == MAX_CLASSES || FindClass(windowClass->lpszClassName))
        return 0;
    WindowClass& added = classes[classCount];
    CopyText(added.name, sizeof added.name, windowClass->lpszClassName);
    added.procedure = windowClass->lpfnWndProc;
    return (ATOM)(FIRST_CLASS_ATOM + classCount++);
}

// --- window creation ---

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param)
{
    const WindowClass* windowClass = className ? FindClass(className) : nullptr;
    if (!windowClass)
        return nullptr;
    Display* display = OpenedDisplay();
    if (!display)
        return nullptr;
    HWND hwnd = NewWindowRecord();
    if (!hwnd)
        return nullptr;
    hwnd->procedure = windowClass->procedure;
    hwnd->style = style;
    hwnd->x = x;
    hwnd->y = y;
    hwnd->width = width > 1 ? width : 1;
    hwnd->height = height > 1 ? height : 1;
    hwnd->clientWidth = hwnd->width;
    hwnd->clientHeight = hwnd->height;
    CopyText(hwnd->caption, sizeof hwnd->caption, windowName);
    CopyText(hwnd->className, sizeof hwnd->className, windowClass->name);

    CREATESTRUCTA create = {param, instance, menu, parent, height, width, y, x, (LONG)style,
                            windowName, className, exStyle};
    // The pixel format, set inside WM_CREATE, decides the X window's visual; see SetPixelFormat.
    const bool refused = hwnd->procedure(hwnd, WM_CREATE, 0, (LPARAM)&create) == -1;
    if (refused || (hwnd->xWindow == None &&
                    !CreateXWindow(hwnd, DefaultVisual(display, DefaultScreen(display)),
                                   DefaultDepth(display, DefaultScreen(display))))) {
        if (hwnd->xWindow != None) {
            XDestroyWindow(display, hwnd->xWindow);
            XFreeColormap(display, hwnd->colormap);
        }
        *hwnd = HWND__{};
        return nullptr;
    }
    FitClientInsideFrame(display, hwnd);
    hwnd->procedure(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(hwnd->clientWidth, hwnd->clientHeight));
    if (style & WS_VISIBLE)
        XMapWindow(display, hwnd->xWindow);
    XSync(display, False);
    return hwnd;
}

// --- messages to one window ---

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd || !hwnd->inUse)
        return 0;
    return hwnd->procedure(hwnd, message, wParam, lParam);
}

// --- device contexts ---

HDC WINAPI GetDC(HWND hwnd)
{
    return hwnd && hwnd->inUse ? &hwnd->deviceContext : nullptr;
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc)
{
    return hwnd && hdc && hdc->window == hwnd ? 1 : 0;
}

HWND WINAPI WindowFromDC(HDC hdc)
{
    return hdc ? hdc->window : nullptr;
}
