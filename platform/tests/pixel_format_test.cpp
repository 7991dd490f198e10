// Pixel formats and OpenGL contexts over GLX (Mesa's software renderer under Xvfb).

#include "gl/surface.h"
#include "platform/tests/xvfb_fixture.h"

#include <GL/gl.h>

namespace {

using PixelFormatOnXvfb = LayerOnXvfb;

PIXELFORMATDESCRIPTOR Request(DWORD flags, BYTE colorBits, BYTE depthBits)
{
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = flags;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = colorBits;
    request.cDepthBits = depthBits;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

const PIXELFORMATDESCRIPTOR APPLICATION_REQUEST = PixelFormatRequest();

int ConfigAttribute(int format, int attribute)
{
    Display* display = x11.display;
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
    int value = -1;
    if (format >= 1 && format <= count)
        glXGetFBConfigAttrib(display, configs[format - 1], attribute, &value);
    XFree(configs);
    return value;
}

struct ChoiceCase {
    const char* name;
    PIXELFORMATDESCRIPTOR request;
    int doubleBuffer, depth, alpha, stencil;
};

TEST_F(PixelFormatOnXvfb, ChoosesTheClosestConfiguration)
{
    PIXELFORMATDESCRIPTOR withAlphaAndStencil = APPLICATION_REQUEST;
    withAlphaAndStencil.cAlphaBits = 8;
    withAlphaAndStencil.cStencilBits = 8;
    const DWORD WINDOW_GL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    const ChoiceCase cases[] = {
        {"the application's request", APPLICATION_REQUEST, 1, 32, 0, 0},
        {"single-buffered", Request(WINDOW_GL, 24, 32), 0, 32, 0, 0},
        {"depth 16", Request(WINDOW_GL | PFD_DOUBLEBUFFER, 24, 16), 1, 16, 0, 0},
        {"depth 24", Request(WINDOW_GL | PFD_DOUBLEBUFFER, 24, 24), 1, 24, 0, 0},
        // No configuration has both 32 depth bits and a stencil; a missing buffer weighs most.
        {"alpha and stencil", withAlphaAndStencil, 1, 24, 8, 8},
    };
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    HDC hdc = GetDC(hwnd);
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int format = ChoosePixelFormat(hdc, &c.request);
        ASSERT_GT(format, 0);
        EXPECT_EQ(ConfigAttribute(format, GLX_DOUBLEBUFFER), c.doubleBuffer);
        EXPECT_EQ(ConfigAttribute(format, GLX_DEPTH_SIZE), c.depth);
        EXPECT_EQ(ConfigAttribute(format, GLX_ALPHA_SIZE), c.alpha);
        EXPECT_EQ(ConfigAttribute(format, GLX_STENCIL_SIZE), c.stencil);
        EXPECT_EQ(ConfigAttribute(format, GLX_RED_SIZE), 8);  // 16 bits asked, 8-8-8 is closest
        EXPECT_NE(ConfigAttribute(format, GLX_VISUAL_ID), 0);
        EXPECT_EQ(ConfigAttribute(format, GLX_SAMPLES), 0);
    }
}

// Xvfb's default visual is not the chosen configuration's, so the window must be made with the
// configuration's visual and a colormap of its own; drawing then reaches the screen.
TEST_F(PixelFormatOnXvfb, WindowTakesTheVisualOfItsPixelFormat)
{
    static HGLRC context;
    static int format;
    static BOOL setOnce, setTwice;
    onCreate = [](HWND hwnd) {
        HDC hdc = GetDC(hwnd);
        format = ChoosePixelFormat(hdc, &APPLICATION_REQUEST);
        setOnce = SetPixelFormat(hdc, format, &APPLICATION_REQUEST);
        setTwice = SetPixelFormat(hdc, format, &APPLICATION_REQUEST);
        context = wglCreateContext(hdc);
        wglMakeCurrent(hdc, context);
    };
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(setOnce);
    EXPECT_FALSE(setTwice);  // a window's pixel format is set once
    ASSERT_NE(context, nullptr);

    XWindowAttributes attributes;
    XGetWindowAttributes(probe, XWindowOf(hwnd)->xWindow, &attributes);
    const VisualID visual = XVisualIDFromVisual(attributes.visual);
    EXPECT_EQ(visual, (VisualID)ConfigAttribute(format, GLX_VISUAL_ID));
    ASSERT_NE(visual, XVisualIDFromVisual(DefaultVisual(probe, DefaultScreen(probe))))
        << "the default visual matches; this test cannot tell";

    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_TRIANGLES);  // immediate mode: a legacy context
    glEnd();
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    EXPECT_TRUE(SwapBuffers(GetDC(hwnd)));
    glFinish();
    XImage* image = XGetImage(probe, XWindowOf(hwnd)->xWindow, 10, 10, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xffffff, image->red_mask & 0xffffff);
    XDestroyImage(image);

    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
    EXPECT_TRUE(wglDeleteContext(context));
    // A deleted context is a stale handle, refused as Windows refuses it.
    EXPECT_FALSE(wglDeleteContext(context));
    EXPECT_FALSE(wglMakeCurrent(GetDC(hwnd), context));
}

TEST_F(PixelFormatOnXvfb, ContextNeedsAPixelFormat)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(wglCreateContext(GetDC(hwnd)), nullptr);
    EXPECT_FALSE(SetPixelFormat(GetDC(hwnd), 0, &APPLICATION_REQUEST));
    EXPECT_FALSE(SetPixelFormat(GetDC(hwnd), 1000000, &APPLICATION_REQUEST));
}

class PixelFormatOnXvfbWithoutGlx : public LayerOnXvfb {
protected:
    void SetUp() override { StartServer({"-extension", "GLX"}); }
};

TEST_F(PixelFormatOnXvfbWithoutGlx, NoFormatCanBeChosenOrSet)
{
    static int format = -1;
    static BOOL set = TRUE;
    onCreate = [](HWND hwnd) {
        format = ChoosePixelFormat(GetDC(hwnd), &APPLICATION_REQUEST);
        set = SetPixelFormat(GetDC(hwnd), 1, &APPLICATION_REQUEST);
    };
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);  // the window itself needs no GLX
    EXPECT_EQ(format, 0);
    EXPECT_FALSE(set);
    EXPECT_EQ(wglCreateContext(GetDC(hwnd)), nullptr);
}

}  // namespace
