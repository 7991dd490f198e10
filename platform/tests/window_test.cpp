// Window creation and the window's X properties, read back from the probe connection.

#include "platform/tests/xvfb_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xfixes.h>

#include <poll.h>

namespace {

using WindowOnXvfb = LayerOnXvfb;

XWindowAttributes AttributesOf(Display* display, Window window)
{
    XWindowAttributes attributes = {};
    XGetWindowAttributes(display, window, &attributes);
    return attributes;
}

TEST_F(WindowOnXvfb, CaptionClassPositionAndCloseProtocolAreSet)
{
    // "Problème – 5 €" in Windows-1252: è is 0xE8, the en dash 0x96 and the euro sign 0x80.
    HWND hwnd = CreateTestWindow("Probl\xe8me \x96 5 \x80");
    ASSERT_NE(hwnd, nullptr);
    const Window window = XWindowOf(hwnd)->xWindow;
    EXPECT_EQ(ReadStringProperty(probe, window, "_NET_WM_NAME"), "Probl\xc3\xa8me \xe2\x80\x93 5 \xe2\x82\xac");
    EXPECT_EQ(ReadStringProperty(probe, window, "WM_NAME"), "Probl\xe8me ? 5 ?");  // Latin-1

    XClassHint classHint = {};
    ASSERT_TRUE(XGetClassHint(probe, window, &classHint));
    // The program's name, which a desktop entry's StartupWMClass can name.
    EXPECT_STREQ(classHint.res_name, program_invocation_short_name);
    EXPECT_STREQ(classHint.res_class, program_invocation_short_name);
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
    const XWindowAttributes attributes = AttributesOf(probe, XWindowOf(shown)->xWindow);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, 640);
    EXPECT_EQ(attributes.height, 480);
    EXPECT_EQ(AttributesOf(probe, XWindowOf(hidden)->xWindow).map_state, IsUnmapped);
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
    XImage* image = XGetImage(probe, XWindowOf(hwnd)->xWindow, 0, 0, 64, 64, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int kept = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            kept += (XGetPixel(image, x, y) & 0xffffff) == ROOT_COLOUR ? 1 : 0;
    EXPECT_EQ(kept, 64 * 64);
    XDestroyImage(image);
}

// The cursor serial names the shape the server shows; over the window it must stay the root's.
unsigned long CursorSerialAt(Display* display, int x, int y)
{
    FakePointerMove(display, x, y);
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    const unsigned long serial = image ? image->cursor_serial : 0;
    if (image)
        XFree(image);
    return serial;
}

TEST_F(WindowOnXvfb, WindowSetsNoCursor)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    const unsigned long overRoot = CursorSerialAt(probe, 900, 700);
    ASSERT_NE(overRoot, 0u);
    EXPECT_EQ(CursorSerialAt(probe, 100, 100), overRoot);
    // Negative control: a window with its own cursor does change it.
    XDefineCursor(probe, XWindowOf(hwnd)->xWindow, XCreateFontCursor(probe, XC_left_ptr));
    XSync(probe, False);
    EXPECT_NE(CursorSerialAt(probe, 110, 110), overRoot);
}

TEST_F(WindowOnXvfb, CloseButtonArrivesAsCloseMessage)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = XWindowOf(hwnd)->xWindow;
    event.xclient.message_type = XInternAtom(probe, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(probe, "WM_DELETE_WINDOW", False);
    XSendEvent(probe, XWindowOf(hwnd)->xWindow, False, NoEventMask, &event);  // as a window manager does
    XSync(probe, False);
    EXPECT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_CLOSE) == 1; }));
}

TEST_F(WindowOnXvfb, ResizeAndMinimiseArriveAsSizeMessages)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    delivered.clear();
    XResizeWindow(probe, XWindowOf(hwnd)->xWindow, 300, 200);
    XSync(probe, False);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_SIZE) == 1; }));
    XUnmapWindow(probe, XWindowOf(hwnd)->xWindow);
    XSync(probe, False);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return CountDelivered(WM_SIZE) == 2; }));
    XMapWindow(probe, XWindowOf(hwnd)->xWindow);
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

// --- with a window manager that reports its frame ---

const long FRAME[4] = {4, 4, 24, 4};  // left, right, top, bottom
const int HANG_POLLS = 6000;         // of 10 ms: a minute, which only a hang takes

// A minimal window manager in a child process: advertises _NET_REQUEST_FRAME_EXTENTS, answers
// it with FRAME, and maps and configures what is asked, until it is killed.
int RunFrameReportingWindowManager(void* displayName)
{
    Display* display = XOpenDisplay((const char*)displayName);
    if (!display)
        return 1;
    const Window root = DefaultRootWindow(display);
    const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    XSelectInput(display, root, SubstructureRedirectMask | SubstructureNotifyMask);
    XChangeProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 32,
                    PropModeReplace, (const unsigned char*)&request, 1);
    XSync(display, False);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == request)
            XChangeProperty(display, event.xclient.window,
                            XInternAtom(display, "_NET_FRAME_EXTENTS", False), XA_CARDINAL, 32,
                            PropModeReplace, (const unsigned char*)FRAME, 4);
        else if (event.type == MapRequest)
            XMapWindow(display, event.xmaprequest.window);
        else if (event.type == ConfigureRequest)
            XResizeWindow(display, event.xconfigurerequest.window,
                          (unsigned)event.xconfigurerequest.width,
                          (unsigned)event.xconfigurerequest.height);
        XFlush(display);
    }
}

bool HasProperty(Display* display, Window window, const char* name)
{
    int count = 0;
    Atom* properties = XListProperties(display, window, &count);
    bool found = false;
    for (int i = 0; i < count; ++i)
        found = found || properties[i] == XInternAtom(display, name, False);
    if (properties)
        XFree(properties);
    return found;
}

TEST_F(WindowOnXvfb, OuterSizeIncludesTheFrameTheWindowManagerReports)
{
    ChildProcess windowManager;
    ASSERT_TRUE(windowManager.Fork(RunFrameReportingWindowManager, (void*)server.DisplayName().c_str()));
    for (int i = 0; i < HANG_POLLS && !HasProperty(probe, DefaultRootWindow(probe), "_NET_SUPPORTED"); ++i)
        poll(nullptr, 0, 10);  // until the window manager runs
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(CountDelivered(WM_SIZE), 1);
    EXPECT_EQ(LOWORD(delivered.back().lParam), 640 - 4 - 4);
    EXPECT_EQ(HIWORD(delivered.back().lParam), 480 - 24 - 4);
    XWindowAttributes attributes = {};
    for (int i = 0; i < HANG_POLLS && attributes.width != 632; ++i) {
        poll(nullptr, 0, 10);  // the window manager carries out the resize when it gets to it
        XGetWindowAttributes(probe, XWindowOf(hwnd)->xWindow, &attributes);
    }
    EXPECT_EQ(attributes.width, 632);
    EXPECT_EQ(attributes.height, 452);
}

}  // namespace
