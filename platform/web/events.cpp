// The page's events, as page.js reports them, turned into the core's calls. The first of the
// backend's files: nothing here is called but by the page.

#include "web_state.h"

#include <emscripten.h>

extern "C" {

// `typed` is the code point of the character the press types, 0 for none.
EMSCRIPTEN_KEEPALIVE void WebKeyChanged(int virtualKey, int down, int typed)
{
    if (web.canvasWindow)
        CoreKeyChanged(web.canvasWindow, virtualKey, 0, down != 0,
                       CodePointToCp1252((unsigned)typed));
}

// A character typed by a control of the page, as a code point.
EMSCRIPTEN_KEEPALIVE void WebCharTyped(int typed)
{
    const unsigned char character = CodePointToCp1252((unsigned)typed);
    if (web.canvasWindow && character)
        CoreCharTyped(web.canvasWindow, character);
}

EMSCRIPTEN_KEEPALIVE void WebButtonChanged(int virtualKey, int down, int x, int y)
{
    if (virtualKey == VK_LBUTTON && !down)
        web.fingerWaiting = false;
    if (web.canvasWindow)
        CoreButtonChanged(web.canvasWindow, virtualKey, down != 0, x, y);
}

// A finger went down: the cursor moves under it now, the left button goes down once a frame
// has read the cursor there (surface.cpp).
EMSCRIPTEN_KEEPALIVE void WebTouchStarted(int x, int y)
{
    if (!web.canvasWindow)
        return;
    CorePointerMoved(web.canvasWindow, x, y);
    web.finger = POINT{x, y};
    web.fingerWaiting = true;
}

// `delta` in WHEEL_DELTA units, positive away from the user.
EMSCRIPTEN_KEEPALIVE void WebWheelTurned(int delta, int x, int y)
{
    if (web.canvasWindow)
        CoreWheelTurned(web.canvasWindow, delta, x, y);
}

EMSCRIPTEN_KEEPALIVE void WebCursorMoved(int x, int y)
{
    if (web.canvasWindow)
        CorePointerMoved(web.canvasWindow, x, y);
}

// A finger's press still waiting is dropped too: its release may never come.
EMSCRIPTEN_KEEPALIVE void WebReleaseAll()
{
    web.fingerWaiting = false;
    CoreReleaseAllKeys();
}

// The page has the focus back, or is shown again: it cannot tell which keys are held, only the
// buttons it saw go down (`buttons` in DOM's bits: 1 left, 2 right, 4 middle). The rest is
// released, as its release may have gone elsewhere.
EMSCRIPTEN_KEEPALIVE void WebRegained(int buttons)
{
    const struct {
        int domBit;
        int virtualKey;
    } DOM_BUTTONS[] = {{1, VK_LBUTTON}, {2, VK_RBUTTON}, {4, VK_MBUTTON}};
    int held[3];
    int count = 0;
    for (const auto& button : DOM_BUTTONS)
        if (buttons & button.domBit)
            held[count++] = button.virtualKey;
    if (web.canvasWindow)
        CoreKeysDownAre(web.canvasWindow, held, count);
}

// The page keeps its events, in order, while this is false (page.js).
EMSCRIPTEN_KEEPALIVE int WebHasRoom()
{
    return CoreHasRoom() ? 1 : 0;
}

// A canvas laid out smaller than a device pixel still has one.
EMSCRIPTEN_KEEPALIVE void WebCanvasSized(int width, int height)
{
    web.canvasWidth = width > 1 ? width : 1;
    web.canvasHeight = height > 1 ? height : 1;
}

}  // extern "C"
