// The one X connection of the process, what happens when the server errs or goes away, and the
// end of the backend.

#include "platform/x11/x11_state.h"

#include <X11/XKBlib.h>
#include <X11/Xlib-xcb.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

X11State x11;

namespace {

// Xlib's default handler prints and exits on any protocol error; Win32 calls fail quietly
// instead, so errors are only counted, for FailsWithXError to see.
int CountXError(Display*, XErrorEvent*)
{
    ++x11.trappedErrorCount;
    return 0;
}

// Xlib calls this when the connection breaks and exits if it returns; a Win32 program has no such
// event, so end promptly with the failure code rather than let atexit handlers touch the dead link.
int EndOnLostServer(Display*)
{
    static const char MESSAGE[] = "X server connection lost\n";
    const ssize_t ignored = write(STDERR_FILENO, MESSAGE, sizeof MESSAGE - 1);
    (void)ignored;
    _exit(1);
}

const int FAULTS[] = {SIGSEGV, SIGBUS};
struct sigaction previousFaultActions[sizeof FAULTS / sizeof FAULTS[0]];

void GiveBackFaults()
{
    for (size_t i = 0; i < sizeof FAULTS / sizeof FAULTS[0]; ++i)
        sigaction(FAULTS[i], &previousFaultActions[i], nullptr);
}

// Mesa reads some replies through XCB without checking them, and follows the null pointer that a
// broken connection gives instead: a fault once the connection is broken is the server lost. Any
// other fault recurs on return, under the handler that was there before (the default's core dump).
void EndOnFaultAfterLostServer(int)
{
    if (x11.display && xcb_connection_has_error(XGetXCBConnection(x11.display)))
        EndOnLostServer(x11.display);
    GiveBackFaults();
}

// Before the connection opens: Xlib's own requests while it opens may find the server gone too,
// and its default handler would print its own lines.
void TakeOverLostServer()
{
    XSetErrorHandler(CountXError);
    XSetIOErrorHandler(EndOnLostServer);
    struct sigaction action = {};
    action.sa_handler = EndOnFaultAfterLostServer;
    for (size_t i = 0; i < sizeof FAULTS / sizeof FAULTS[0]; ++i)
        sigaction(FAULTS[i], &action, &previousFaultActions[i]);
}

// The server sends a release before every auto-repeated press unless told not to; a held key
// would then read as up between two presses, as it never does on Windows.
void DetectAutoRepeat()
{
    Bool supported = False;
    XkbSetDetectableAutoRepeat(x11.display, True, &supported);
}

void InternAtoms()
{
    char* names[] = {
        (char*)"WM_PROTOCOLS",         (char*)"WM_DELETE_WINDOW",
        (char*)"_NET_WM_NAME",         (char*)"UTF8_STRING",
        (char*)"_NET_SUPPORTED",       (char*)"_NET_REQUEST_FRAME_EXTENTS",
        (char*)"_NET_FRAME_EXTENTS",   (char*)"_NET_WM_WINDOW_TYPE",
        (char*)"_NET_WM_WINDOW_TYPE_DIALOG",
    };
    Atom atoms[sizeof names / sizeof names[0]];
    XInternAtoms(x11.display, names, (int)(sizeof names / sizeof names[0]), False, atoms);
    x11.atoms = Atoms{atoms[0], atoms[1], atoms[2], atoms[3], atoms[4],
                      atoms[5], atoms[6], atoms[7], atoms[8]};
}

}  // namespace

bool BackendOpen()
{
    TakeOverLostServer();
    x11.display = XOpenDisplay(nullptr);
    if (!x11.display) {
        fprintf(stderr, "cannot open display \"%s\"\n", XDisplayName(nullptr));
        return false;
    }
    InternAtoms();
    DetectAutoRepeat();
    return true;
}

int ReadProperty32(Window window, Atom property, Atom type, long* values, int capacity)
{
    Atom actualType;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    XGetWindowProperty(x11.display, window, property, 0, capacity, False, type, &actualType,
                       &format, &count, &remaining, &data);
    int read = 0;
    for (; data && format == 32 && read < (int)count && read < capacity; ++read)
        values[read] = ((long*)data)[read];  // Xlib hands 32-bit items out as longs
    if (data)
        XFree(data);
    return read;
}

void BackendClose()
{
    for (X11Window& window : x11.windows)
        if (window.hwnd)
            BackendDestroyWindow(window.hwnd);
    XCloseDisplay(x11.display);
    GiveBackFaults();
    x11 = X11State{};
}
