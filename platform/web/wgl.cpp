// The canvas's drawing surface: its one pixel format, its one OpenGL context (opengl.cpp and
// webgl.js) and the presenting of frames.

#include "web_state.h"
#include "webgl.h"

#include <emscripten.h>

extern "C" void WebWaitForPresentation();  // page.js

namespace {

const int THE_PIXEL_FORMAT = 1;

struct Surface {
    bool contextInUse;  // WebGL gives the canvas one context
    long framesPresented;
};

Surface surface;

}  // namespace

// The canvas's WebGL surface, whatever was asked for; 0 when the browser has no WebGL.
int BackendChoosePixelFormat(HWND hwnd, const PIXELFORMATDESCRIPTOR&)
{
    return CanvasFreeFor(hwnd) && WebGlOpenSurface() ? THE_PIXEL_FORMAT : 0;
}

// Set while the window is being created, before BackendCreateWindow: the canvas is its.
bool BackendSetPixelFormat(HWND hwnd, int format)
{
    return format == THE_PIXEL_FORMAT && WebGlOpenSurface() && ClaimCanvas(hwnd);
}

void* BackendCreateContext(HWND)
{
    if (surface.contextInUse || !WebGlCreateContext())
        return nullptr;
    surface.contextInUse = true;
    return &surface;
}

// Only the canvas's window has a pixel format, so `hwnd` is the canvas's.
bool BackendMakeCurrent(HWND hwnd, void*)
{
    DrawPendingGl();
    WebGlMakeCurrent(hwnd ? 1 : 0);
    if (hwnd)
        ResendGlState();
    return true;
}

void BackendDeleteContext(void*)
{
    DrawPendingGl();
    WebGlDeleteContext();
    surface.contextInUse = false;
}

// The browser shows the canvas at its next animation frame; presenting waits for that, as a
// driver that syncs to the display does. A page may count the frames through
// Module.onSwapBuffers(count), which runs before the frame is shown.
void BackendPresent(HWND)
{
    PressWaitingFinger();
    DrawPendingGl();
    ++surface.framesPresented;
    EM_ASM({ if (Module['onSwapBuffers']) Module['onSwapBuffers']($0); }, surface.framesPresented);
    WebWaitForPresentation();
}
