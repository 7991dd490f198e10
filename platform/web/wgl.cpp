// The canvas's drawing surface: its one pixel format, its one OpenGL context (opengl.cpp and
// webgl.js) and the presenting of frames.

#include "web_state.h"
#include "webgl.h"

#include <emscripten.h>

extern "C" void WebWaitForPresentation();  // page.js

struct HGLRC__ {
    bool inUse;
};

namespace {

const int THE_PIXEL_FORMAT = 1;

struct Surface {
    int pixelFormat;  // 0 until SetPixelFormat
    HGLRC__ context;
    long framesPresented;
};

Surface surface;

// The device context of the window that has the canvas.
bool IsCanvasDc(HDC hdc)
{
    return hdc && hdc->window && hdc->window == CanvasWindow();
}

// ... or of a window that may take it.
bool CanvasFreeFor(HDC hdc)
{
    return hdc && hdc->window && (!CanvasWindow() || hdc->window == CanvasWindow());
}

}  // namespace

void ForgetContext()
{
    if (surface.context.inUse)
        WebGlDeleteContext();
    surface = Surface{};
}

// The canvas's WebGL surface, whatever was asked for; 0 when the browser has no WebGL.
int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!CanvasFreeFor(hdc) || !descriptor || !WebGlOpenSurface())
        return 0;
    return THE_PIXEL_FORMAT;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR*)
{
    if (!CanvasFreeFor(hdc) || format != THE_PIXEL_FORMAT || !WebGlOpenSurface())
        return FALSE;
    // Set while the window is being created, before BackendCreateWindow: the canvas is its.
    ClaimCanvas(hdc->window);
    surface.pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC hdc)
{
    if (!IsCanvasDc(hdc) || surface.pixelFormat == 0 || surface.context.inUse ||
        !WebGlCreateContext())
        return nullptr;
    surface.context.inUse = true;
    return &surface.context;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context)
{
    DrawPendingGl();
    if (!context) {
        WebGlMakeCurrent(0);
        return TRUE;
    }
    if (context != &surface.context || !surface.context.inUse || !IsCanvasDc(hdc))
        return FALSE;
    WebGlMakeCurrent(1);
    ResendGlState();
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    if (context != &surface.context || !surface.context.inUse)
        return FALSE;
    DrawPendingGl();
    WebGlDeleteContext();
    surface.context.inUse = false;
    return TRUE;
}

// The browser shows the canvas at its next animation frame; presenting waits for that, as a
// driver that syncs to the display does. A page may count the frames through
// Module.onSwapBuffers(count), which runs before the frame is shown.
BOOL WINAPI SwapBuffers(HDC hdc)
{
    if (!IsCanvasDc(hdc))
        return FALSE;
    DrawPendingGl();
    ++surface.framesPresented;
    EM_ASM({ if (Module['onSwapBuffers']) Module['onSwapBuffers']($0); }, surface.framesPresented);
    WebWaitForPresentation();
    return TRUE;
}
