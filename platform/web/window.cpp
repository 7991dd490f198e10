// The backend's side of windows and events: the canvas as the one window, its size as the page
// lays it out, the waits that give the browser its turn, the page's input as page.js reports
// it, the message box and the cursor.

#include "web_state.h"
#include "webgl.h"

#include <emscripten.h>

extern "C" {
void WebListen();
void WebWait(int milliseconds);
void WebSetTitle(const char* utf8);
void WebSizeCanvas(int width, int height);
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
    int canvasWidth;    // device pixels, as the page last laid the canvas out
    int canvasHeight;
    bool touchPressPending;  // a finger is down, its press waits for the program to see the cursor
};

Page page;

void GiveBrowserItsTurn(int milliseconds)
{
    DrawPendingGl();
    WebWait(milliseconds);
}

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
    CoreClientSized(hwnd, page.canvasWidth, page.canvasHeight);
    WebSizeCanvas(page.canvasWidth, page.canvasHeight);
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

// The browser delivers the page's events only when the program returns to it. A new size of
// the canvas takes effect here, between two frames, as a desktop window's does.
void BackendDrainEvents()
{
    GiveBrowserItsTurn(0);
    HWND hwnd = page.canvasWindow;
    if (!hwnd || (page.canvasWidth == hwnd->clientWidth && page.canvasHeight == hwnd->clientHeight))
        return;
    WebSizeCanvas(page.canvasWidth, page.canvasHeight);
    CoreClientSized(hwnd, page.canvasWidth, page.canvasHeight);
}

// The page can always send a key, so there is always something to wait for.
bool BackendWaitForEvents(int64_t deadline)
{
    if (deadline == NO_DEADLINE) {
        GiveBrowserItsTurn(WAIT_FOR_EVENTS);
        return true;
    }
    const int64_t left = deadline - BackendNow();
    if (left > 0)
        GiveBrowserItsTurn(
            (int)((left + NANOSECONDS_PER_MILLISECOND - 1) / NANOSECONDS_PER_MILLISECOND));
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
    Cp1252ToUtf8(caption ? caption : "Erreur", captionUtf8, sizeof captionUtf8);
    DrawPendingGl();
    return WebMessageBox(textUtf8, captionUtf8);
}

BOOL WINAPI GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = page.cursor;
    // The program has now seen the cursor under the finger: pressing no earlier, the touch
    // turns the view from there rather than from where the cursor was before.
    if (page.touchPressPending) {
        page.touchPressPending = false;
        CoreButtonChanged(VK_LBUTTON, true);
    }
    return TRUE;
}

// --- the page's events (page.js) ---

extern "C" {

// `typed` is the code point of the character the press types, 0 for none.
EMSCRIPTEN_KEEPALIVE void WebKeyChanged(int virtualKey, int down, int typed)
{
    if (page.canvasWindow)
        CoreKeyChanged(page.canvasWindow, virtualKey, 0, down != 0,
                       CodePointToCp1252((unsigned)typed));
}

// A character typed by a control of the page, as a code point.
EMSCRIPTEN_KEEPALIVE void WebCharTyped(int typed)
{
    const unsigned char character = CodePointToCp1252((unsigned)typed);
    if (page.canvasWindow && character)
        CoreCharTyped(page.canvasWindow, character);
}

EMSCRIPTEN_KEEPALIVE void WebButtonChanged(int virtualKey, int down)
{
    if (virtualKey == VK_LBUTTON && !down)
        page.touchPressPending = false;
    CoreButtonChanged(virtualKey, down != 0);
}

// A finger went down: the cursor moves under it now, the left button goes down once the
// program has read the cursor there (GetCursorPos).
EMSCRIPTEN_KEEPALIVE void WebTouchStarted(int x, int y)
{
    page.cursor = POINT{x, y};
    page.touchPressPending = true;
}

// `delta` in WHEEL_DELTA units, positive away from the user.
EMSCRIPTEN_KEEPALIVE void WebWheelTurned(int delta, int x, int y)
{
    if (page.canvasWindow)
        CoreWheelTurned(page.canvasWindow, delta, x, y);
}

EMSCRIPTEN_KEEPALIVE void WebCursorMoved(int x, int y)
{
    page.cursor = POINT{x, y};
}

EMSCRIPTEN_KEEPALIVE void WebFocusLost()
{
    CoreReleaseAllKeys();
}

// A canvas laid out smaller than a device pixel still has one.
EMSCRIPTEN_KEEPALIVE void WebCanvasSized(int width, int height)
{
    page.canvasWidth = width > 1 ? width : 1;
    page.canvasHeight = height > 1 ? height : 1;
}

}  // extern "C"
