// Window creation and the window's X properties, read back from the probe connection.

#include "platform/tests/layer_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>

namespace {

using WindowOnXvfb = LayerOnXvfb;

XWindowAttributes AttributesOf(Display* display, Window window)
{
    XWindowAttributes attributes = {};
    XGetWindowAttributes(display, window, &attributes);
    return attributes;
}

TEST_F(WindowOnXvfb, CreationSendsCreateThenSizeBeforeReturning)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].message, (UINT)WM_CREATE);
    EXPECT_TRUE(delivered[0].duringCreation);
    EXPECT_EQ(delivered[1].message, (UINT)WM_SIZE);
    EXPECT_TRUE(delivered[1].duringCreation);
    EXPECT_EQ(LOWORD(delivered[1].lParam), 640);  // no window manager: client = outer size
    EXPECT_EQ(HIWORD(delivered[1].lParam), 480);
}

TEST_F(WindowOnXvfb, CreateMessageCarriesTheCreationArguments)
{
    onCreate = [](HWND) {
        const CREATESTRUCTA* create = (const CREATESTRUCTA*)delivered.back().lParam;
        EXPECT_STREQ(create->lpszName, "Test window");
        EXPECT_EQ(create->cx, 640);
        EXPECT_EQ(create->cy, 480);
    };
    ASSERT_NE(CreateTestWindow(), nullptr);
}

TEST_F(WindowOnXvfb, CaptionClassPositionAndCloseProtocolAreSet)
{
    // "Problème – 5 €" in Windows-1252: è is 0xE8, the en dash 0x96 and the euro sign 0x80.
    HWND hwnd = CreateTestWindow("Probl\xe8me \x96 5 \x80");
    ASSERT_NE(hwnd, nullptr);
    const Window window = hwnd->xWindow;
    EXPECT_EQ(ReadStringProperty(probe, window, "_NET_WM_NAME"), "Probl\xc3\xa8me \xe2\x80\x93 5 \xe2\x82\xac");
    EXPECT_EQ(ReadStringProperty(probe, window, "WM_NAME"), "Probl\xe8me ? 5 ?");  // Latin-1

    XClassHint classHint = {};
    ASSERT_TRUE(XGetClassHint(probe, window, &classHint));
    EXPECT_STREQ(classHint.res_class, CLASS_NAME);
    XFree(classHint.res_name);
    XFree(classHint.res_class);

    XSizeHints hints = {};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(probe, window, &hints, &supplied));
    EXPECT_EQ(hints.flags & (USPosition | PPosition), USPosition | PPosition);
    EXPECT_EQ(hints.x, 0);
    EXPECT_EQ(hints.y, 0);

    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(probe, window, &protocols, &count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(protocols[0], XInternAtom(probe, "WM_DELETE_WINDOW", False));
    XFree(protocols);
}

TEST_F(WindowOnXvfb, VisibleStyleMapsAtTopLeftWithTheClientSize)
{
    HWND shown = CreateTestWindow();
    HWND hidden = CreateTestWindow("Hidden", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(hidden, nullptr);
    const XWindowAttributes attributes = AttributesOf(probe, shown->xWindow);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, 640);
    EXPECT_EQ(attributes.height, 480);
    EXPECT_EQ(AttributesOf(probe, hidden->xWindow).map_state, IsUnmapped);
}

// With a None background the server leaves what was on screen (here a root painted in one
// unusual colour); any background pixel or pixmap would have replaced it.
TEST_F(WindowOnXvfb, ServerPaintsNoBackground)
{
    const unsigned long ROOT_COLOUR = 0x3366cc;
    XSetWindowBackground(probe, DefaultRootWindow(probe), ROOT_COLOUR);
    XClearWindow(probe, DefaultRootWindow(probe));
    XSync(probe, False);
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    XImage* image = XGetImage(probe, hwnd->xWindow, 0, 0, 64, 64, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int kept = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            kept += (XGetPixel(image, x, y) & 0xffffff) == ROOT_COLOUR ? 1 : 0;
    EXPECT_EQ(kept, 64 * 64);
    XDestroyImage(image);
}

TEST_F(WindowOnXvfb, FailuresGiveZeroOrNull)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "Twice";
    EXPECT_NE(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(CreateWindowExA(0, "No such class", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    onCreate = [](HWND) {};
    WNDCLASSA refusing = {};
    refusing.lpfnWndProc = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_CREATE ? -1 : 0;
    };
    refusing.lpszClassName = "Refusing";
    ASSERT_NE(RegisterClassA(&refusing), 0);
    EXPECT_EQ(CreateWindowExA(0, "refusing", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);  // class names ignore case
}

TEST_F(WindowOnXvfb, DeviceContextBelongsToItsWindow)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    HDC hdc = GetDC(hwnd);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(WindowFromDC(hdc), hwnd);
    EXPECT_EQ(GetDC(hwnd), hdc);
    EXPECT_EQ(ReleaseDC(hwnd, hdc), 1);
}

TEST_F(WindowOnXvfb, CloseButtonArrivesAsCloseMessage)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = hwnd->xWindow;
    event.xclient.message_type = XInternAtom(probe, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(probe, "WM_DELETE_WINDOW", False);
    XSendEvent(probe, hwnd->xWindow, False, NoEventMask, &event);  // as a window manager does
    XSync(probe, False);
    EXPECT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_CLOSE) == 1; }));
}

TEST_F(WindowOnXvfb, ResizeAndMinimiseArriveAsSizeMessages)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    delivered.clear();
    XResizeWindow(probe, hwnd->xWindow, 300, 200);
    XSync(probe, False);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_SIZE) == 1; }));
    XUnmapWindow(probe, hwnd->xWindow);
    XSync(probe, False);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_SIZE) == 2; }));
    XMapWindow(probe, hwnd->xWindow);
    XSync(probe, False);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_SIZE) == 3; }));

    const LPARAM expected[] = {MAKELPARAM(300, 200), 0, MAKELPARAM(300, 200)};
    const WPARAM kinds[] = {SIZE_RESTORED, SIZE_MINIMIZED, SIZE_RESTORED};
    int seen = 0;
    for (const Delivered& d : delivered)
        if (d.message == WM_SIZE) {
            EXPECT_EQ(d.lParam, expected[seen]) << "size message " << seen;
            EXPECT_EQ(d.wParam, kinds[seen]) << "size message " << seen;
            ++seen;
        }
}

}  // namespace
