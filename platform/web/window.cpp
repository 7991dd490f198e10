// The canvas as the one window: its size as the page lays it out, the waits that give the
// browser its turn, and the message box. Below it only the drawing surface (surface.cpp), the
// core and the page.

#include "web_state.h"

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

void GiveBrowserItsTurn(int milliseconds)
{
    FlushSurface();
    WebWait(milliseconds);
}

}  // namespace

WebState web;

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
    CoreClientSized(hwnd, web.canvasWidth, web.canvasHeight);
    WebSizeCanvas(web.canvasWidth, web.canvasHeight);
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
    if (web.canvasWindow == hwnd)
        web.canvasWindow = nullptr;
    hwnd->native = nullptr;
}

// The browser delivers the page's events only when the program returns to it; those the queue
// had no room for then are delivered as it has room (page.js). A new size of
// the canvas takes effect here, between two frames, as a desktop window's does.
void BackendDrainEvents()
{
    GiveBrowserItsTurn(0);
    WebDeliverWaiting();
    HWND hwnd = web.canvasWindow;
    if (!hwnd || (web.canvasWidth == hwnd->clientWidth && web.canvasHeight == hwnd->clientHeight))
        return;
    WebSizeCanvas(web.canvasWidth, web.canvasHeight);
    CoreClientSized(hwnd, web.canvasWidth, web.canvasHeight);
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
    web.canvasWindow = nullptr;
}

// --- message box ---

void BackendMessageBox(HWND, const char* text, const char* caption)
{
    char textUtf8[TEXT_BYTES];
    char captionUtf8[TEXT_BYTES];
    Cp1252ToUtf8(text, textUtf8, sizeof textUtf8);
    Cp1252ToUtf8(caption, captionUtf8, sizeof captionUtf8);
    FlushSurface();
    WebMessageBox(textUtf8, captionUtf8);
}
