// The canvas's drawing surface: its one pixel format, its one OpenGL context (opengl.cpp and
// webgl.js) and the presenting of frames.

#include "opengl_state.h"
#include "web_state.h"

#include <emscripten.h>

extern "C" {
int WebGlOpenSurface();
int WebGlCreateContext();
void WebGlMakeCurrent(int current);
void WebGlDeleteContext();
void WebWaitForPresentation();
}

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

bool IsCanvasContext(HDC hdc)
{
    return hdc && hdc->window && ClaimCanvas(hdc->window);
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
    if (!IsCanvasContext(hdc) || !descriptor || !WebGlOpenSurface())
        return 0;
    return THE_PIXEL_FORMAT;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR*)
{
    if (!IsCanvasContext(hdc) || format != THE_PIXEL_FORMAT || !WebGlOpenSurface())
        return FALSE;
    surface.pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC hdc)
{
    if (!IsCanvasContext(hdc) || surface.pixelFormat == 0 || surface.context.inUse ||
        !WebGlCreateContext())
        return nullptr;
    surface.context.inUse = true;
    return &surface.context;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context) {
        WebGlMakeCurrent(0);
        return TRUE;
    }
    if (context != &surface.context || !surface.context.inUse || !IsCanvasContext(hdc))
        return FALSE;
    WebGlMakeCurrent(1);
    ResendGlState();
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    if (context != &surface.context || !surface.context.inUse)
        return FALSE;
    WebGlDeleteContext();
    surface.context.inUse = false;
    return TRUE;
}

// The browser shows the canvas at its next animation frame; presenting waits for that, as a
// driver that syncs to the display does. A page may count the frames through
// Module.onSwapBuffers(count), which runs before the frame is shown.
BOOL WINAPI SwapBuffers(HDC hdc)
{
    if (!IsCanvasContext(hdc))
        return FALSE;
    ++surface.framesPresented;
    EM_ASM({ if (Module['onSwapBuffers']) Module['onSwapBuffers']($0); }, surface.framesPresented);
    WebWaitForPresentation();
    return TRUE;
}
