// The canvas's drawing surface: its one pixel format, its one OpenGL context (platform/webgl/)
// and the presenting of frames. It calls only the OpenGL library and the page.

#include "web_state.h"

#include "platform/webgl/webgl.h"

#include <GL/gl.h>
#include <emscripten.h>

extern "C" void WebWaitForPresentation();  // page.js

namespace {

const int THE_PIXEL_FORMAT = 1;

// Whether `hwnd` has the canvas or may take it.
bool CanvasFreeFor(HWND hwnd)
{
    return !web.canvasWindow || web.canvasWindow == hwnd;
}

// A finger that landed presses the left button once a frame has read the cursor under it, at
// the end of the frame.
void PressWaitingFinger()
{
    if (!web.fingerWaiting || !CoreHasRoom())
        return;
    web.fingerWaiting = false;
    CoreButtonChanged(web.canvasWindow, VK_LBUTTON, true, web.finger.x, web.finger.y);
}

}  // namespace

bool ClaimCanvas(HWND hwnd)
{
    if (!CanvasFreeFor(hwnd))
        return false;
    web.canvasWindow = hwnd;
    hwnd->native = &web;
    return true;
}

void FlushSurface()
{
    glFlush();
}

// --- what the core asks of a backend ---

// The canvas's WebGL surface, whatever was asked for; 0 when the browser has no WebGL.
int BackendChoosePixelFormat(HWND hwnd, const PIXELFORMATDESCRIPTOR&)
{
    return CanvasFreeFor(hwnd) && OpenCanvasSurface() ? THE_PIXEL_FORMAT : 0;
}

// Set while the window is being created, before BackendCreateWindow: the canvas is its.
bool BackendSetPixelFormat(HWND hwnd, int format)
{
    return format == THE_PIXEL_FORMAT && OpenCanvasSurface() && ClaimCanvas(hwnd);
}

void* BackendCreateContext(HWND)
{
    if (web.contextInUse || !WebGlCreateContext())
        return nullptr;
    web.contextInUse = true;
    return &web;
}

// Only the canvas's window has a pixel format, so `hwnd` is the canvas's.
bool BackendMakeCurrent(HWND hwnd, void*)
{
    MakeGlContextCurrent(hwnd != nullptr);
    return true;
}

void BackendDeleteContext(void*)
{
    DeleteGlContext();
    web.contextInUse = false;
}

// The browser shows the canvas at its next animation frame; presenting waits for that, as a
// driver that syncs to the display does. A page may count the frames through
// Module.onSwapBuffers(count), which runs before the frame is shown.
void BackendPresent(HWND)
{
    PressWaitingFinger();
    glFlush();
    ++web.framesPresented;
    // clang-format off
    EM_ASM({ if (Module['onSwapBuffers']) Module['onSwapBuffers']($0); }, web.framesPresented);
    // clang-format on
    WebWaitForPresentation();
}
