// Pixel formats over EGL configurations, OpenGL contexts and presenting, on the compositor's
// connection (Mesa draws with llvmpipe into shared memory where there is no GPU).

#include "platform/wayland/wayland_state.h"

namespace {

const int MAX_CONFIGS = 512;
// As on Windows, a window's colour depth is the desktop's, whatever cColorBits says: 8 bits a
// channel. Mesa lists 10-bit configurations first, and 16-bit ones would band the shading.
const int CHANNEL_BITS = 8;

bool EnsureEgl()
{
    if (wayland.egl != EGL_NO_DISPLAY || wayland.eglFailed)
        return !wayland.eglFailed;
    EGLDisplay display = eglGetDisplay((EGLNativeDisplayType)wayland.display);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor) ||
        !eglBindAPI(EGL_OPENGL_API)) {
        if (display != EGL_NO_DISPLAY)
            eglTerminate(display);
        wayland.eglFailed = true;
        return false;
    }
    wayland.egl = display;
    return true;
}

// Configurations are numbered from 1 in EGL's order; 0 means none.
int ListConfigs(EGLConfig* configs)
{
    EGLint count = 0;
    if (!EnsureEgl() || !eglGetConfigs(wayland.egl, configs, MAX_CONFIGS, &count))
        return 0;
    return count;
}

int Attribute(EGLConfig config, EGLint attribute)
{
    EGLint value = 0;
    eglGetConfigAttrib(wayland.egl, config, attribute, &value);
    return value;
}

bool IsUsable(EGLConfig config, const PIXELFORMATDESCRIPTOR& wanted)
{
    return (Attribute(config, EGL_SURFACE_TYPE) & EGL_WINDOW_BIT) &&
           (Attribute(config, EGL_RENDERABLE_TYPE) & EGL_OPENGL_BIT) &&
           Attribute(config, EGL_COLOR_BUFFER_TYPE) == EGL_RGB_BUFFER &&
           wanted.iPixelType == PFD_TYPE_RGBA;
}

long Squared(long difference)
{
    return difference * difference;
}

// Lower is better: first the buffers asked for but absent, then the colour's distance from 8
// bits a channel, then the other sizes' from what was asked for.
long ScoreOf(EGLConfig config, const PIXELFORMATDESCRIPTOR& wanted)
{
    const int alpha = Attribute(config, EGL_ALPHA_SIZE);
    const int depth = Attribute(config, EGL_DEPTH_SIZE);
    const int stencil = Attribute(config, EGL_STENCIL_SIZE);
    const long missing = (wanted.cAlphaBits > 0 && alpha == 0) + (wanted.cDepthBits > 0 && depth == 0) +
                         (wanted.cStencilBits > 0 && stencil == 0);
    const long color = Squared(Attribute(config, EGL_RED_SIZE) - CHANNEL_BITS) +
                       Squared(Attribute(config, EGL_GREEN_SIZE) - CHANNEL_BITS) +
                       Squared(Attribute(config, EGL_BLUE_SIZE) - CHANNEL_BITS);
    long extra = Squared(wanted.cAlphaBits - alpha) + Squared(wanted.cStencilBits - stencil) +
                 Squared(Attribute(config, EGL_SAMPLES));
    if (!(wanted.dwFlags & PFD_DEPTH_DONTCARE))
        extra += Squared(wanted.cDepthBits - depth);
    return (missing << 40) + (color << 20) + extra;
}

EGLConfig ConfigOf(const WaylandWindow& window)
{
    EGLConfig configs[MAX_CONFIGS];
    ListConfigs(configs);
    return configs[window.hwnd->pixelFormat - 1];
}

// Mesa's swap waits for the compositor's frame callback unless the interval is 0: a hidden
// window would then never present, and nothing in a frame may be throttled.
void TurnOffSwapWait(WaylandWindow& window)
{
    if (window.swapIntervalSet)
        return;
    window.swapIntervalSet = true;
    eglSwapInterval(wayland.egl, 0);
}

}  // namespace

// --- pixel formats ---

int WaylandChoosePixelFormat(HWND, const PIXELFORMATDESCRIPTOR& wanted)
{
    EGLConfig configs[MAX_CONFIGS];
    const int count = ListConfigs(configs);
    int best = 0;
    long bestScore = 0;
    for (int i = 0; i < count; ++i) {
        if (!IsUsable(configs[i], wanted))
            continue;
        const long score = ScoreOf(configs[i], wanted);
        if (best == 0 || score < bestScore) {
            best = i + 1;
            bestScore = score;
        }
    }
    return best;
}

bool WaylandSetPixelFormat(HWND hwnd, int format)
{
    EGLConfig configs[MAX_CONFIGS];
    const int count = ListConfigs(configs);
    WaylandWindow* window = format <= count ? WindowRecordOf(hwnd) : nullptr;
    if (!window)
        return false;
    window->eglWindow = wl_egl_window_create(window->surface, hwnd->clientWidth * window->scale,
                                             hwnd->clientHeight * window->scale);
    window->eglSurface = eglCreateWindowSurface(wayland.egl, configs[format - 1],
                                                (EGLNativeWindowType)window->eglWindow, nullptr);
    if (window->eglSurface == EGL_NO_SURFACE) {
        wl_egl_window_destroy(window->eglWindow);
        window->eglWindow = nullptr;
        return false;
    }
    return true;
}

// --- rendering contexts ---

// An OpenGL context without attributes is a compatibility one, as wglCreateContext gives.
void* WaylandCreateContext(HWND hwnd)
{
    const EGLContext context =
        eglCreateContext(wayland.egl, ConfigOf(*(WaylandWindow*)hwnd->native), EGL_NO_CONTEXT, nullptr);
    return context == EGL_NO_CONTEXT ? nullptr : context;
}

bool WaylandMakeCurrent(HWND hwnd, void* context)
{
    if (!context)
        return wayland.egl == EGL_NO_DISPLAY ||
               eglMakeCurrent(wayland.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    WaylandWindow& window = *(WaylandWindow*)hwnd->native;
    if (!eglMakeCurrent(wayland.egl, window.eglSurface, window.eglSurface, (EGLContext)context))
        return false;
    TurnOffSwapWait(window);
    return true;
}

void WaylandDeleteContext(void* context)
{
    eglDestroyContext(wayland.egl, (EGLContext)context);
}

// A surface gets its first buffer once the window is shown and its frame configured.
void WaylandPresent(HWND hwnd)
{
    WaylandWindow& window = *(WaylandWindow*)hwnd->native;
    if (window.shown && window.configured)
        eglSwapBuffers(wayland.egl, window.eglSurface);
}
