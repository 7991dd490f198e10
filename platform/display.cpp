// The one X connection of the process, and what happens when the server errs or goes away.

#include "x11_state.h"

#include <X11/XKBlib.h>

#include <cstdio>
#include <unistd.h>

namespace {

Display* display = nullptr;
bool displayFailed = false;
int trappedErrorCount = 0;

// Xlib's default handler prints and exits on any protocol error; Win32 calls fail quietly instead.
int CountXError(Display*, XErrorEvent*)
{
    ++trappedErrorCount;
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

}  // namespace

Display* OpenedDisplay()
{
    if (display || displayFailed)
        return display;
    display = XOpenDisplay(nullptr);
    if (!display) {
        displayFailed = true;
        fprintf(stderr, "cannot open display \"%s\"\n", XDisplayName(nullptr));
        return nullptr;
    }
    XSetErrorHandler(CountXError);
    XSetIOErrorHandler(EndOnLostServer);
    // Without this a held key reads as released between two auto-repeated presses.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    return display;
}

Display* CurrentDisplay()
{
    return display;
}

bool FailsWithXError(void (*call)(void*), void* context)
{
    XSync(display, False);
    const int before = trappedErrorCount;
    call(context);
    XSync(display, False);
    return trappedErrorCount != before;
}

Atom InternAtom(const char* name)
{
    return XInternAtom(display, name, False);
}

void ClosePlatform()
{
    ForgetAllWindows();
    ForgetAllClasses();
    ForgetQueueAndTimers();
    ReleaseAllKeys();
    ForgetAllContexts();
    if (display) {
        glXMakeCurrent(display, None, nullptr);
        XCloseDisplay(display);
    }
    display = nullptr;
    displayFailed = false;
}
