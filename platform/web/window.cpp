// The backend's side of windows and events: the canvas as the one window, the waits that give
// the browser its turn, the page's input as page.js reports it, the message box and the cursor.

#include "web_state.h"

#include <emscripten.h>

extern "C" {
void WebListen();
void WebWait(int milliseconds);
void WebSetTitle(const char* utf8);
int WebCanvasWidth();
int WebCanvasHeight();
int WebMessageBox(const char* textUtf8, const char* captionUtf8);
}

namespace {

const int WAIT_FOR_EVENTS = -1;
const int64_t NANOSECONDS_PER_MILLISECOND = 1000000;
const size_t TEXT_BYTES = 4096;

struct Page {
    bool listening;
    HWND canvasWindow;  // null while no window has the canvas
    POINT cursor;       // screen pixels, as the page last reported them
};

Page page;

}  // namespace

bool ClaimCanvas(HWND hwnd)
{
    if (page.canvasWindow && page.canvasWindow != hwnd)
        return false;
    page.canvasWindow = hwnd;
    return true;
}

HWND CanvasWindow()
{
    return page.canvasWindow;
}

// --- what the core asks of a backend ---

bool BackendOpen()
{
    if (!page.listening)
        WebListen();
    page.listening = true;
    return true;
}

bool BackendCreateWindow(HWND hwnd)
{
    if (!ClaimCanvas(hwnd))
        return false;
    CoreClientSized(hwnd, WebCanvasWidth(), WebCanvasHeight());
    char title[TEXT_BYTES];
    Cp1252ToUtf8(hwnd->caption, title, sizeof title);
    WebSetTitle(title);
    return true;
}

void BackendShowWindow(HWND)
{
}

void BackendDestroyWindow(HWND hwnd)
{
    if (page.canvasWindow == hwnd)
        page.canvasWindow = nullptr;
}

// The browser delivers the page's events only when the program returns to it.
void BackendDrainEvents()
{
    WebWait(0);
}

// The page can always send a key, so there is always something to wait for.
bool BackendWaitForEvents(int64_t deadline)
{
    if (deadline == NO_DEADLINE) {
        WebWait(WAIT_FOR_EVENTS);
        return true;
    }
    const int64_t left = deadline - BackendNow();
    if (left > 0)
        WebWait((int)((left + NANOSECONDS_PER_MILLISECOND - 1) / NANOSECONDS_PER_MILLISECOND));
    return true;
}

int64_t BackendNow()
{
    return MonotonicClock();
}

void BackendClose()
{
    ForgetContext();
    page.canvasWindow = nullptr;
}

// --- message box and cursor ---

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    char textUtf8[TEXT_BYTES];
    char captionUtf8[TEXT_BYTES];
    Cp1252ToUtf8(text ? text : "", textUtf8, sizeof textUtf8);
    Cp1252ToUtf8(caption ? caption : "Error", captionUtf8, sizeof captionUtf8);
    return WebMessageBox(textUtf8, captionUtf8);
}

BOOL WINAPI GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = page.cursor;
    return TRUE;
}

// --- the page's events (page.js) ---

extern "C" {

EMSCRIPTEN_KEEPALIVE void WebKeyChanged(int virtualKey, int down)
{
    if (page.canvasWindow)
        CoreKeyChanged(page.canvasWindow, virtualKey, 0, down != 0, 0);
}

EMSCRIPTEN_KEEPALIVE void WebButtonChanged(int virtualKey, int down)
{
    CoreButtonChanged(virtualKey, down != 0);
}

EMSCRIPTEN_KEEPALIVE void WebCursorMoved(int x, int y)
{
    page.cursor = POINT{x, y};
}

EMSCRIPTEN_KEEPALIVE void WebFocusLost()
{
    CoreReleaseAllKeys();
}

}  // extern "C"
