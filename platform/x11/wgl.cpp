// Pixel formats over GLX framebuffer configurations, and OpenGL contexts.

#include "platform/x11/x11_state.h"

#include <X11/Xutil.h>

#include <cstring>

namespace {

struct ConfigSizes {
    int red, green, blue, alpha, depth, stencil, accum, aux, samples;
};

struct Score {
    int missing;  // buffers asked for that the configuration lacks
    long colorDifference;
    long extraDifference;
};

int Attribute(Display* display, GLXFBConfig config, int attribute)
{
    int value = 0;
    glXGetFBConfigAttrib(display, config, attribute, &value);
    return value;
}

bool HasGlx(Display* display)
{
    int errorBase, eventBase;
    return display && glXQueryExtension(display, &errorBase, &eventBase);
}

// Configurations are numbered from 1 in the server's order; 0 means none.
GLXFBConfig* ListConfigs(Display* display, int* count)
{
    *count = 0;
    if (!HasGlx(display))
        return nullptr;
    return glXGetFBConfigs(display, DefaultScreen(display), count);
}

bool IsUsable(Display* display, GLXFBConfig config, const PIXELFORMATDESCRIPTOR& wanted)
{
    const DWORD flags = wanted.dwFlags;
    const int wantsDouble = (flags & PFD_DOUBLEBUFFER) ? 1 : 0;
    const int wantsStereo = (flags & PFD_STEREO) ? 1 : 0;
    return (Attribute(display, config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) &&
           (Attribute(display, config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) &&
           wanted.iPixelType == PFD_TYPE_RGBA && Attribute(display, config, GLX_X_RENDERABLE) &&
           Attribute(display, config, GLX_VISUAL_ID) != 0 &&
           ((flags & PFD_DOUBLEBUFFER_DONTCARE) ||
            Attribute(display, config, GLX_DOUBLEBUFFER) == wantsDouble) &&
           ((flags & PFD_STEREO_DONTCARE) || Attribute(display, config, GLX_STEREO) == wantsStereo);
}

ConfigSizes SizesOf(Display* display, GLXFBConfig config)
{
    return ConfigSizes{
        Attribute(display, config, GLX_RED_SIZE),
        Attribute(display, config, GLX_GREEN_SIZE),
        Attribute(display, config, GLX_BLUE_SIZE),
        Attribute(display, config, GLX_ALPHA_SIZE),
        Attribute(display, config, GLX_DEPTH_SIZE),
        Attribute(display, config, GLX_STENCIL_SIZE),
        Attribute(display, config, GLX_ACCUM_RED_SIZE) + Attribute(display, config, GLX_ACCUM_GREEN_SIZE) +
            Attribute(display, config, GLX_ACCUM_BLUE_SIZE) + Attribute(display, config, GLX_ACCUM_ALPHA_SIZE),
        Attribute(display, config, GLX_AUX_BUFFERS),
        Attribute(display, config, GLX_SAMPLES),
    };
}

long Squared(long difference)
{
    return difference * difference;
}

// Lexicographic score: first count the buffers asked for but absent, then the squared differences
// of the colour sizes, then of the other sizes. cColorBits counts red, green and blue.
Score ScoreOf(const ConfigSizes& have, const PIXELFORMATDESCRIPTOR& wanted)
{
    Score score = {};
    score.missing += (wanted.cAlphaBits > 0 && have.alpha == 0) ? 1 : 0;
    score.missing += (wanted.cDepthBits > 0 && have.depth == 0) ? 1 : 0;
    score.missing += (wanted.cStencilBits > 0 && have.stencil == 0) ? 1 : 0;
    score.missing += (wanted.cAccumBits > 0 && have.accum == 0) ? 1 : 0;
    score.missing += wanted.cAuxBuffers > have.aux ? wanted.cAuxBuffers - have.aux : 0;

    if (wanted.cRedBits || wanted.cGreenBits || wanted.cBlueBits)
        score.colorDifference = Squared(wanted.cRedBits - have.red) +
                                Squared(wanted.cGreenBits - have.green) +
                                Squared(wanted.cBlueBits - have.blue);
    else
        score.colorDifference = Squared(wanted.cColorBits - (have.red + have.green + have.blue));

    score.extraDifference = Squared(wanted.cAlphaBits - have.alpha) +
                            Squared(wanted.cStencilBits - have.stencil) +
                            Squared(wanted.cAccumBits - have.accum) + Squared(have.samples);
    if (!(wanted.dwFlags & PFD_DEPTH_DONTCARE))
        score.extraDifference += Squared(wanted.cDepthBits - have.depth);
    return score;
}

bool IsBetter(const Score& a, const Score& b)
{
    if (a.missing != b.missing)
        return a.missing < b.missing;
    if (a.colorDifference != b.colorDifference)
        return a.colorDifference < b.colorDifference;
    return a.extraDifference < b.extraDifference;
}

// Mesa's swap waits for the vertical blank unless the swap interval is set to 0 through one of two
// extensions; presenting must never wait, since nothing in a frame may be throttled.
void TurnOffSwapWait(Display* display, X11Window& window)
{
    if (window.swapIntervalSet)
        return;
    window.swapIntervalSet = true;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    typedef void (*SwapIntervalExt)(Display*, GLXDrawable, int);
    typedef int (*SwapIntervalMesa)(unsigned);
    if (extensions && strstr(extensions, "GLX_EXT_swap_control")) {
        SwapIntervalExt set =
            (SwapIntervalExt)glXGetProcAddressARB((const GLubyte*)"glXSwapIntervalEXT");
        if (set)
            set(display, window.xWindow, 0);
    } else if (extensions && strstr(extensions, "GLX_MESA_swap_control")) {
        SwapIntervalMesa set =
            (SwapIntervalMesa)glXGetProcAddressARB((const GLubyte*)"glXSwapIntervalMESA");
        if (set)
            set(0);
    }
}

}  // namespace

// --- pixel formats ---

int X11ChoosePixelFormat(HWND, const PIXELFORMATDESCRIPTOR& wanted)
{
    Display* display = x11.display;
    int count = 0;
    GLXFBConfig* configs = ListConfigs(display, &count);
    int best = 0;
    Score bestScore = {};
    for (int i = 0; i < count; ++i) {
        if (!IsUsable(display, configs[i], wanted))
            continue;
        const Score score = ScoreOf(SizesOf(display, configs[i]), wanted);
        if (best == 0 || IsBetter(score, bestScore)) {
            best = i + 1;
            bestScore = score;
        }
    }
    if (configs)
        XFree(configs);
    return best;
}

// X fixes a window's visual at creation, so the window is created (or re-created) here.
bool X11SetPixelFormat(HWND hwnd, int format)
{
    X11Window* window = hwnd->native ? XWindowOf(hwnd) : NewXWindowOf(hwnd);
    if (!window)
        return false;
    int count = 0;
    GLXFBConfig* configs = ListConfigs(x11.display, &count);
    XVisualInfo* visual = format <= count
                              ? glXGetVisualFromFBConfig(x11.display, configs[format - 1])
                              : nullptr;
    const bool created = visual && CreateXWindow(*window, visual->visual, visual->depth);
    if (created)
        window->framebufferConfig = configs[format - 1];
    if (visual)
        XFree(visual);
    if (configs)
        XFree(configs);
    return created;
}

// --- rendering contexts ---

void* X11CreateContext(HWND hwnd)
{
    GLXContext created = nullptr;
    // glXCreateNewContext gives a compatibility context, as wglCreateContext does.
    const bool refused = FailsWithXError([&] {
        created = glXCreateNewContext(x11.display, XWindowOf(hwnd)->framebufferConfig,
                                      GLX_RGBA_TYPE, nullptr, True);
    });
    if (refused && created) {
        glXDestroyContext(x11.display, created);
        created = nullptr;
    }
    return created;
}

bool X11MakeCurrent(HWND hwnd, void* context)
{
    if (!hwnd)
        return glXMakeCurrent(x11.display, None, nullptr);
    X11Window* window = XWindowOf(hwnd);
    if (!glXMakeCurrent(x11.display, window->xWindow, (GLXContext)context))
        return false;
    TurnOffSwapWait(x11.display, *window);
    return true;
}

void X11DeleteContext(void* context)
{
    glXDestroyContext(x11.display, (GLXContext)context);
}

void X11Present(HWND hwnd)
{
    glXSwapBuffers(x11.display, XWindowOf(hwnd)->xWindow);
}
