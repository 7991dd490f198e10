// The backend's side of windows and events: the canvas as the one window, its size as the page
// lays it out, the waits that give the browser its turn, the page's input as page.js reports
// it, and the message box.

#include "web_state.h"
#include "webgl.h"

#include <emscripten.h>

extern "C" {
void WebListen();
void WebDeliverWaiting();
void WebWait(int milliseconds);
void WebSetTitle(const char* utf8);
void WebSizeCanvas(int width, int height);
int WebMessageBox(const char* textUtf8, const char* captionUtf8);
}

namespace {

const int WAIT_FOR_EVENTS = -1;
const int64_t NANOSECONDS_PER_MILLISECOND = 1000000;
const size_t TEXT_BYTES = 4096;

// The canvas's window's `native`.
struct Page {
    HWND canvasWindow;  // null while no window has the canvas
    int canvasWidth;    // device pixels, as the page last laid the canvas out
    int canvasHeight;
    bool fingerWaiting;  // a finger is down, its press waits for a frame to read the cursor
    POINT finger;        // screen pixels, where it landed
};

Page page;

void GiveBrowserItsTurn(int milliseconds)
{
    DrawPendingGl();
    WebWait(milliseconds);
}

}  // namespace

bool CanvasFreeFor(HWND hwnd)
{
    return !page.canvasWindow || page.canvasWindow == hwnd;
}

bool ClaimCanvas(HWND hwnd)
{
    if (!CanvasFreeFor(hwnd))
        return false;
    page.canvasWindow = hwnd;
    hwnd->native = &page;
    return true;
}

void PressWaitingFinger()
{
    if (!page.fingerWaiting || !CoreHasRoom())
        return;
    page.fingerWaiting = false;
    CoreButtonChanged(page.canvasWindow, VK_LBUTTON, true, page.finger.x, page.finger.y);
}

// --- what the core asks of a backend ---

bool BackendOpen()
{
    WebListen();
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
    hwnd->native = nullptr;
}

// The browser delivers the page's events only when the program returns to it; those the queue
// had no room for then are delivered as it has room (page.js). A new size of
// the canvas takes effect here, between two frames, as a desktop window's does.
void BackendDrainEvents()
{
    GiveBrowserItsTurn(0);
    WebDeliverWaiting();
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
    page.canvasWindow = nullptr;
}

// --- message box ---

void BackendMessageBox(HWND, const char* text, const char* caption)
{
    char textUtf8[TEXT_BYTES];
    char captionUtf8[TEXT_BYTES];
    Cp1252ToUtf8(text, textUtf8, sizeof textUtf8);
    Cp1252ToUtf8(caption, captionUtf8, sizeof captionUtf8);
    DrawPendingGl();
    WebMessageBox(textUtf8, captionUtf8);
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

EMSCRIPTEN_KEEPALIVE void WebButtonChanged(int virtualKey, int down, int x, int y)
{
    if (virtualKey == VK_LBUTTON && !down)
        page.fingerWaiting = false;
    if (page.canvasWindow)
        CoreButtonChanged(page.canvasWindow, virtualKey, down != 0, x, y);
}

// A finger went down: the cursor moves under it now, the left button goes down once a frame
// has read the cursor there (PressWaitingFinger).
EMSCRIPTEN_KEEPALIVE void WebTouchStarted(int x, int y)
{
    if (!page.canvasWindow)
        return;
    CorePointerMoved(page.canvasWindow, x, y);
    page.finger = POINT{x, y};
    page.fingerWaiting = true;
}

// `delta` in WHEEL_DELTA units, positive away from the user.
EMSCRIPTEN_KEEPALIVE void WebWheelTurned(int delta, int x, int y)
{
    if (page.canvasWindow)
        CoreWheelTurned(page.canvasWindow, delta, x, y);
}

EMSCRIPTEN_KEEPALIVE void WebCursorMoved(int x, int y)
{
    if (page.canvasWindow)
        CorePointerMoved(page.canvasWindow, x, y);
}

EMSCRIPTEN_KEEPALIVE void WebReleaseAll()
{
    CoreReleaseAllKeys();
}

// The page has the focus back, or is shown again: it cannot tell which keys are held, only the
// buttons it saw go down (`buttons` in DOM's bits: 1 left, 2 right, 4 middle). The rest is
// released, as its release may have gone elsewhere.
EMSCRIPTEN_KEEPALIVE void WebRegained(int buttons)
{
    const int DOM_BUTTONS[][2] = {{1, VK_LBUTTON}, {2, VK_RBUTTON}, {4, VK_MBUTTON}};
    int held[3];
    int count = 0;
    for (const auto& button : DOM_BUTTONS)
        if (buttons & button[0])
            held[count++] = button[1];
    if (page.canvasWindow)
        CoreKeysDownAre(page.canvasWindow, held, count);
}

// The page keeps its events, in order, while this is false (page.js).
EMSCRIPTEN_KEEPALIVE int WebHasRoom()
{
    return CoreHasRoom() ? 1 : 0;
}

// A canvas laid out smaller than a device pixel still has one.
EMSCRIPTEN_KEEPALIVE void WebCanvasSized(int width, int height)
{
    page.canvasWidth = width > 1 ? width : 1;
    page.canvasHeight = height > 1 ? height : 1;
}

}  // extern "C"
