// The demo as a whole process on its own Xvfb: what a person sees and does.

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "tests/support/frame_count.h"
#include "tests/support/xvfb_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const char DEMO_CAPTION[] = "De belles boulles bleus";
const char BOX_CAPTION_UTF8[] = "Probl\xc3\xa8me";
constexpr int CLIENT_WIDTH = 640;
constexpr int CLIENT_HEIGHT = 480;
// Frames after which the picture shows input sent before them: one may be under way, the next
// fetches the input, a tick reads it, and the tick after draws what it did.
constexpr long FRAMES_UNTIL_SEEN = 4;
// Frames a key is held at most for an effect shown within a few ticks, and for a zoom.
constexpr long FRAMES_FOR_A_FEW_TICKS = 100;
constexpr long FRAMES_FOR_A_ZOOM = 300;

struct Rgb {
    int red, green, blue;
};

// Pixel counts of a picture or of a band of it.
struct Census {
    long nonBlack = 0;
    long withRedOrGreen = 0;
    long pureRed = 0;
    long pureGreen = 0;
};

class Picture {
public:
    // The whole client area, which a window manager's frame may make smaller than asked for.
    Picture(Display* display, Window window) : image(Grab(display, window)) {}
    ~Picture()
    {
        if (image != nullptr)
            XDestroyImage(image);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Valid() const { return image != nullptr; }

    Rgb At(int x, int y) const
    {
        const unsigned long pixel = XGetPixel(image, x, y);
        return {Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                Channel(pixel, image->blue_mask)};
    }

    Census Count(int left, int top, int right, int bottom) const
    {
        Census census;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const Rgb c = At(x, y);
                census.nonBlack += c.red + c.green + c.blue > 0;
                census.withRedOrGreen += c.red + c.green > 0;
                census.pureRed += c.red > 0 && c.green == 0 && c.blue == 0;
                census.pureGreen += c.green > 0 && c.red == 0 && c.blue == 0;
            }
        return census;
    }

    Census Count() const { return Count(0, 0, image->width, image->height); }

    // Pixels of the red or green axis here that are black in `other`: none, both ways, when the
    // view is the same, whatever the balls hide of the axes in either.
    long AxisPixelsBlackIn(const Picture& other) const
    {
        long moved = 0;
        for (int y = 0; y < image->height && y < other.image->height; ++y)
            for (int x = 0; x < image->width && x < other.image->width; ++x) {
                const Rgb here = At(x, y), there = other.At(x, y);
                moved += here.red + here.green > 0 && there.red + there.green + there.blue == 0;
            }
        return moved;
    }

private:
    static XImage* Grab(Display* display, Window window)
    {
        XWindowAttributes attributes = {};
        if (!XGetWindowAttributes(display, window, &attributes))
            return nullptr;
        return XGetImage(display, window, 0, 0, (unsigned)attributes.width,
                         (unsigned)attributes.height, AllPlanes, ZPixmap);
    }

    static int Channel(unsigned long pixel, unsigned long mask)
    {
        int shift = 0;
        while (mask != 0 && (mask & 1) == 0)
            mask >>= 1, ++shift;
        return (int)((pixel >> shift) & mask);
    }

    XImage* image;
};

// A fresh Xvfb, our own connection to it, and the demo running on it with its frames counted.
// Every wait is for what the demo does (a window, a picture, frames, an exit): how fast it
// ticks depends on how busy the machine is.
class DemoOnXvfb : public ::testing::Test {
protected:
    void StartServer(const std::vector<std::string>& serverArguments = {})
    {
        ASSERT_TRUE(server.Start(serverArguments));
        server.UseAsDefault();
        display = XOpenDisplay(server.DisplayName().c_str());
        ASSERT_NE(display, nullptr);
    }

    // The demo, unchanged, with these variables set in its environment and these shims preloaded
    // besides the frame counter.
    void StartDemoProcess(const Environment& environment = {}, const std::string& preloads = "")
    {
        Environment full = frames.ProgramEnvironment(preloads);
        full.insert(full.end(), environment.begin(), environment.end());
        ASSERT_TRUE(demo.Start({BOULLES_PATH}, full));
    }

    void StartDemo(const std::vector<std::string>& serverArguments = {})
    {
        StartServer(serverArguments);
        StartDemoProcess();
    }

    void TearDown() override
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    // The window, once its picture shows frames.
    void WaitForDemoWindow()
    {
        window = WaitForWindowNamed(display, DEMO_CAPTION);
        ASSERT_NE(window, (Window)None) << demo.StandardError();
        WaitForFrames(FRAMES_UNTIL_SEEN);
    }

    void WaitForFrames(long count)
    {
        ASSERT_TRUE(frames.WaitForMore(count)) << "no frames: " << demo.StandardError();
    }

    // Checks the picture after every frame until it meets `done`; false once `maxFrames`
    // frames have passed without.
    template <typename Condition>
    bool WaitForPicture(Condition done, long maxFrames = FRAMES_FOR_A_FEW_TICKS)
    {
        const long last = frames.Frames() + maxFrames;
        for (;;) {
            const Picture picture(display, window);
            if (picture.Valid() && done(picture.Count()))
                return true;
            if (frames.Frames() >= last || !frames.WaitForMore(1))
                return false;
        }
    }

    // The demo reads the keypad once per tick: the key stays down until the picture shows
    // what it does.
    template <typename Condition>
    bool HoldKeyUntil(KeySym key, Condition done, long maxFrames = FRAMES_FOR_A_FEW_TICKS)
    {
        FakeKey(display, key, true);
        const bool met = WaitForPicture(done, maxFrames);
        FakeKey(display, key, false);
        return met;
    }

    // The mouse too: the pointer stays at each place until a tick has read it.
    void MovePointer(int x, int y)
    {
        FakePointerMove(display, x, y);
        WaitForFrames(2);
    }

    // Whether the axes are drawn as in `before`, within `maxFrames` frames, and still so a few
    // frames later (a zoom may pass through the same distance on its way).
    bool WaitForAxesAsIn(const Picture& before, long maxFrames = FRAMES_FOR_A_FEW_TICKS)
    {
        const auto same = [&] {
            const Picture now(display, window);
            return now.Valid() && now.AxisPixelsBlackIn(before) == 0 &&
                   before.AxisPixelsBlackIn(now) == 0;
        };
        const long last = frames.Frames() + maxFrames;
        while (!same())
            if (frames.Frames() >= last || !frames.WaitForMore(1))
                return false;
        return frames.WaitForMore(FRAMES_UNTIL_SEEN) && same();
    }

    // A key held while the pointer leaves the window and released outside, where without a
    // window manager the focus follows the pointer: once the pointer is back, the key is up.
    void ExpectKeyReleasedOutsideToBeUp()
    {
        ShowAxes();
        MovePointer(CLIENT_WIDTH / 2, CLIENT_HEIGHT / 2);
        FakeKey(display, XK_KP_Subtract, true);
        WaitForFrames(FRAMES_UNTIL_SEEN);
        MovePointer(1000, 700);
        FakeKey(display, XK_KP_Subtract, false);
        MovePointer(CLIENT_WIDTH / 2, CLIENT_HEIGHT / 2);
        WaitForFrames(FRAMES_UNTIL_SEEN);
        const Picture settled(display, window);
        ASSERT_TRUE(settled.Valid());
        WaitForFrames(FRAMES_FOR_A_FEW_TICKS / 4);  // a held key would zoom out 250 units meanwhile
        EXPECT_TRUE(WaitForAxesAsIn(settled, 0)) << "the key stayed down";
    }

    void ShowAxes()
    {
        ASSERT_TRUE(HoldKeyUntil(XK_KP_Multiply, [](const Census& c) { return c.pureGreen > 0; }));
    }

    void ExpectExit(int code)
    {
        EXPECT_EQ(demo.WaitForExit(), code) << demo.StandardError();
    }

    XvfbServer server;
    FrameCount frames{FRAME_COUNTER_PATH};
    ChildProcess demo;
    Display* display = nullptr;
    Window window = None;
};

TEST_F(DemoOnXvfb, ShowsBlueBallsOnBlackAndEscEndsWithZero)
{
    StartDemo();
    WaitForDemoWindow();
    Picture picture(display, window);
    ASSERT_TRUE(picture.Valid());
    const Census all = picture.Count();
    // Green is 0 in every ball, red too, and the material has no specular part.
    EXPECT_EQ(all.withRedOrGreen, 0);
    EXPECT_GT(all.nonBlack, 1000);
    EXPECT_LT(all.nonBlack, CLIENT_WIDTH * CLIENT_HEIGHT / 3);

    PressKey(display, XK_Escape);
    ExpectExit(0);
}

TEST_F(DemoOnXvfb, KeypadMultiplyShowsTheAxesAndDivideHidesThem)
{
    StartDemo();
    WaitForDemoWindow();
    ShowAxes();
    {
        Picture picture(display, window);
        ASSERT_TRUE(picture.Valid());
        // The green Z axis runs horizontally through the centre...
        const Census centreRows = picture.Count(0, CLIENT_HEIGHT / 2 - 2, CLIENT_WIDTH,
                                                CLIENT_HEIGHT / 2 + 2);
        EXPECT_GT(centreRows.pureGreen, 150);
        EXPECT_EQ(picture.Count().pureGreen, centreRows.pureGreen);
        // ...and the blue Y axis vertically.
        long litRows = 0;
        for (int y = 0; y < CLIENT_HEIGHT; ++y)
            litRows += picture.Count(CLIENT_WIDTH / 2 - 2, y, CLIENT_WIDTH / 2 + 2, y + 1)
                           .nonBlack > 0;
        EXPECT_GT(litRows, 300);
    }
    ASSERT_TRUE(HoldKeyUntil(XK_KP_Divide, [](const Census& c) { return c.pureGreen == 0; }));
    Picture hidden(display, window);
    ASSERT_TRUE(hidden.Valid());
    EXPECT_EQ(hidden.Count().pureGreen, 0);
    EXPECT_EQ(hidden.Count().withRedOrGreen, 0);
}

// Twice the picture's area is about 90 ticks nearer.
TEST_F(DemoOnXvfb, HoldingKeypadPlusAndMinusZoomsInAndOut)
{
    StartDemo();
    WaitForDemoWindow();
    const long before = Picture(display, window).Count().nonBlack;
    long nearer = 0;
    ASSERT_TRUE(HoldKeyUntil(XK_KP_Add, [&](const Census& c) {
        nearer = c.nonBlack;
        return nearer > 2 * before;
    }, FRAMES_FOR_A_ZOOM)) << before << " -> " << nearer;
    long farther = 0;
    EXPECT_TRUE(HoldKeyUntil(XK_KP_Subtract, [&](const Census& c) {
        farther = c.nonBlack;
        return farther < nearer / 2;
    }, FRAMES_FOR_A_ZOOM)) << nearer << " -> " << farther;
}

// Without a keypad: the main keyboard's = (its + key) and -, held. Half as much area again is
// about 55 ticks nearer.
TEST_F(DemoOnXvfb, HoldingMainKeyboardEqualsAndMinusZoomsInAndOut)
{
    StartDemo();
    WaitForDemoWindow();
    const long before = Picture(display, window).Count().nonBlack;
    long nearer = 0, farther = 0;
    ASSERT_TRUE(HoldKeyUntil(
        XK_equal, [&](const Census& c) { return 2 * (nearer = c.nonBlack) > 3 * before; },
        FRAMES_FOR_A_ZOOM))
        << before << " -> " << nearer;
    EXPECT_TRUE(HoldKeyUntil(
        XK_minus, [&](const Census& c) { return 3 * (farther = c.nonBlack) < 2 * nearer; },
        FRAMES_FOR_A_ZOOM))
        << nearer << " -> " << farther;
}

// Typed once each, as a person types them: Shift+8 on this (US) layout, and the / key.
TEST_F(DemoOnXvfb, TypedStarAndSlashShowAndHideTheAxes)
{
    StartDemo();
    WaitForDemoWindow();
    FakeKey(display, XK_Shift_L, true);
    FakeKey(display, XK_asterisk, true);
    FakeKey(display, XK_asterisk, false);
    FakeKey(display, XK_Shift_L, false);
    ASSERT_TRUE(WaitForPicture([](const Census& c) { return c.pureGreen > 150; }));
    FakeKey(display, XK_slash, true);
    FakeKey(display, XK_slash, false);
    EXPECT_TRUE(WaitForPicture([](const Census& c) { return c.withRedOrGreen == 0; }));
}

// Ten notches forward bring the camera from 3000 to 1800, twenty back take it to 4200: a
// smaller picture than at the start, however the balls have gathered meanwhile.
TEST_F(DemoOnXvfb, WheelNotchesZoomInAndOut)
{
    const auto turnWheel = [this](unsigned button, int notches) {  // 4 forward, 5 back
        for (int i = 0; i < notches; ++i) {
            FakeButton(display, button, true);
            FakeButton(display, button, false);
        }
    };
    StartDemo();
    WaitForDemoWindow();
    FakePointerMove(display, CLIENT_WIDTH / 2, CLIENT_HEIGHT / 2);  // the wheel turns for it
    const long before = Picture(display, window).Count().nonBlack;
    long nearer = 0, after = 0;
    turnWheel(4, 10);
    ASSERT_TRUE(WaitForPicture([&](const Census& c) { return (nearer = c.nonBlack) > 2 * before; }))
        << before << " -> " << nearer;
    turnWheel(5, 20);
    EXPECT_TRUE(WaitForPicture([&](const Census& c) { return (after = c.nonBlack) < nearer / 2; }))
        << nearer << " -> " << after;
}

TEST_F(DemoOnXvfb, LeftButtonDragTurnsTheView)
{
    StartDemo();
    WaitForDemoWindow();
    ShowAxes();
    const auto redAcrossTheCentre = [this] {
        return Picture(display, window)
            .Count(0, CLIENT_HEIGHT / 2 - 2, CLIENT_WIDTH, CLIENT_HEIGHT / 2 + 2)
            .pureRed;
    };
    // Moving without the button turns nothing: the red X axis stays along the
    // line of sight, a point at the centre.
    for (int x = 100; x <= 300; x += 50)
        MovePointer(x, 240);
    WaitForFrames(FRAMES_UNTIL_SEEN);
    const long redBefore = redAcrossTheCentre();
    EXPECT_LT(redBefore, 20);

    // A drag of 90 pixels to the right, one degree per pixel: a quarter turn
    // brings the X axis across the picture.
    FakeButton(display, 1, true);
    WaitForFrames(FRAMES_UNTIL_SEEN);
    for (int x = 330; x <= 390; x += 30)
        MovePointer(x, 240);
    WaitForFrames(FRAMES_UNTIL_SEEN);
    FakeButton(display, 1, false);
    EXPECT_GT(redAcrossTheCentre(), 100) << "red pixels before the drag: " << redBefore;
}

// Fast drags of 500 pixels, each end seen by a tick: the view turns by exactly the pixels
// dragged, so fifty each way bring it back to the very pixel.
TEST_F(DemoOnXvfb, DragsThereAndBackReturnTheViewExactly)
{
    StartDemo();
    WaitForDemoWindow();
    ShowAxes();
    MovePointer(60, 240);
    WaitForFrames(FRAMES_UNTIL_SEEN);
    const Picture before(display, window);
    ASSERT_TRUE(before.Valid());
    for (int drag = 0; drag < 100; ++drag) {
        // Right in steps of 25 pixels, left in steps of 125: a tick that misses a part of the
        // motion would not miss as much both ways.
        const int from = drag < 50 ? 60 : 560, to = drag < 50 ? 560 : 60;
        const int step = drag < 50 ? 25 : -125;
        MovePointer(from, 240);
        FakeButton(display, 1, true);
        for (int x = from + step; x != to; x += step)
            FakePointerMove(display, x, 240);
        MovePointer(to, 240);
        FakeButton(display, 1, false);
    }
    MovePointer(60, 240);
    EXPECT_TRUE(WaitForAxesAsIn(before));
}

// Sent as one burst each: the server has them all before the demo can read many.
void ClickBurst(Display* display, unsigned button, int count)
{
    for (int i = 0; i < count; ++i) {
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XTestFakeButtonEvent(display, button, False, CurrentTime);
    }
    XSync(display, False);
}

void KeyBurst(Display* display, KeySym key, int count)
{
    const KeyCode code = XKeysymToKeycode(display, key);
    for (int i = 0; i < count; ++i)
        XTestFakeKeyEvent(display, code, i % 2 == 0 ? True : False, CurrentTime);
    XSync(display, False);
}

// A free-spinning wheel: 2,000 notches forward at once, more than the queue holds, and 2,000
// back bring the camera back to where it was.
TEST_F(DemoOnXvfb, WheelBurstsThereAndBackRestoreTheDistance)
{
    StartDemo();
    WaitForDemoWindow();
    ShowAxes();
    MovePointer(CLIENT_WIDTH / 2, CLIENT_HEIGHT / 2);
    const Picture before(display, window);
    ASSERT_TRUE(before.Valid());
    ClickBurst(display, 4, 2000);
    ASSERT_TRUE(WaitForPicture([](const Census& c) { return c.pureGreen < 10; }));
    ClickBurst(display, 5, 2000);
    EXPECT_TRUE(WaitForAxesAsIn(before));
}

TEST_F(DemoOnXvfb, EscapeRightAfterABurstOfKeysEndsWithZero)
{
    StartDemo();
    WaitForDemoWindow();
    KeyBurst(display, XK_a, 5000);
    PressKey(display, XK_Escape);
    ExpectExit(0);
}

TEST_F(DemoOnXvfb, KeyReleasedOutsideTheWindowIsUpWithoutWindowManager)
{
    StartDemo();
    WaitForDemoWindow();
    ExpectKeyReleasedOutsideToBeUp();
}

TEST_F(DemoOnXvfb, WindowManagerCloseEndsWithZero)
{
    StartDemo();
    WaitForDemoWindow();
    RequestClose(display, window);
    ExpectExit(0);
}

TEST_F(DemoOnXvfb, ClosingTwiceInARowStillEndsWithZero)
{
    // An impatient second click on the close box arrives before the quit.
    StartDemo();
    WaitForDemoWindow();
    RequestClose(display, window);
    RequestClose(display, window);
    ExpectExit(0);
}

TEST_F(DemoOnXvfb, ServerGoingAwayEndsWithOneAndAShortMessage)
{
    StartDemo();
    WaitForDemoWindow();
    // Closed first, or the lost connection would end this test process too.
    XCloseDisplay(display);
    display = nullptr;
    server.Kill();
    ExpectExit(1);
    const std::string error = demo.StandardError();
    ASSERT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

// The demo's connection through x_cut_proxy, which passes on `messages` messages of the server
// and then cuts it (see x_cut_proxy.c).
class CutConnection {
public:
    CutConnection(const std::string& serverName, long messages)
        : proxy(popen((std::string(X_CUT_PROXY_PATH) + " " + serverName.substr(1) + " " +
                       std::to_string(messages)).c_str(), "r"))
    {
    }
    ~CutConnection()
    {
        if (proxy != nullptr)
            pclose(proxy);
    }
    CutConnection(const CutConnection&) = delete;
    CutConnection& operator=(const CutConnection&) = delete;

    std::string DisplayName() { return ":" + ReadLine(); }
    // Once the client has gone: how many messages the server sent in all.
    long MessagesSent() { return std::strtol(ReadLine().c_str(), nullptr, 10); }

private:
    std::string ReadLine()
    {
        char line[32] = "";
        if (proxy == nullptr || std::fgets(line, sizeof line, proxy) == nullptr)
            return "";
        return std::string(line, std::strcspn(line, "\n"));
    }

    FILE* proxy;
};

// The display lost after each message of the server in turn, from the connection's setup reply
// through the pixel format, the context and the first frames, and later while running: every
// run ends with 1 and the one line, never a crash, a hang or another library's words. Cut
// before the setup reply, the display never opened.
TEST_F(DemoOnXvfb, DisplayLostAfterAnyMessageEndsWithOneAndOneLine)
{
    StartServer();
    long startUpMessages = 0;
    {
        CutConnection whole(server.DisplayName(), LONG_MAX);
        StartDemoProcess({{"DISPLAY", whole.DisplayName()}});
        WaitForFrames(1);
        demo.WaitForExit(0);  // killed
        startUpMessages = whole.MessagesSent();
    }
    ASSERT_GT(startUpMessages, 0);
    std::vector<long> cuts;
    for (long cut = 0; cut < startUpMessages; ++cut)
        cuts.push_back(cut);
    cuts.push_back(startUpMessages + 400);  // about a hundred frames later
    for (const long cut : cuts) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " of " +
                     std::to_string(startUpMessages) + " messages");
        CutConnection proxy(server.DisplayName(), cut);
        const std::string name = proxy.DisplayName();
        StartDemoProcess({{"DISPLAY", name}});
        ExpectExit(1);
        EXPECT_EQ(demo.StandardError(), cut == 0 ? "cannot open display \"" + name + "\"\n"
                                                 : "X server connection lost\n");
    }
}

// A display without GLX offers no pixel format; one that allows no indirect rendering, to a
// client that asks for it, offers formats but refuses the context. Either way nothing could
// be drawn: the same box, and Enter ends the run with 1.
TEST_F(DemoOnXvfb, WithoutOpenGlTheMessageBoxShowsAndEnterEndsWithOne)
{
    const struct {
        const char* cause;
        std::vector<std::string> serverArguments;
        Environment environment;
    } causes[] = {
        {"no GLX on the server", {"-extension", "GLX"}, {}},
        {"the context refused", {"-iglx"}, {{"LIBGL_ALWAYS_INDIRECT", "1"}}},
    };
    for (const auto& c : causes) {
        SCOPED_TRACE(c.cause);
        StartServer(c.serverArguments);
        StartDemoProcess(c.environment);
        const Window box = WaitForWindowNamed(display, BOX_CAPTION_UTF8);
        ASSERT_NE(box, (Window)None) << demo.StandardError();
        ASSERT_TRUE(WaitForFocus(display, box));
        PressKey(display, XK_Return);
        ExpectExit(1);
        XCloseDisplay(display);
        display = nullptr;
        server.Stop();
    }
}

// --- under real window managers ---

struct WindowManager {
    const char* name;
    // cppcheck-suppress unusedStructMember ; read through GetParam(), which it cannot follow
    const char* path;
};

void PrintTo(const WindowManager& windowManager, std::ostream* out)
{
    *out << windowManager.name;
}

struct Rectangle {
    int x, y, width, height;
    bool operator==(const Rectangle& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Rectangle& r)
{
    return out << r.width << "x" << r.height << " at (" << r.x << ", " << r.y << ")";
}

// The frame the window manager put around `client`, border included: the outer rectangle.
Rectangle OuterRectangle(Display* display, Window client)
{
    Window top = client;
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, top, &root, &parent, &children, &count);
        if (children)
            XFree(children);
        if (parent == root)
            break;
        top = parent;
    }
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    XGetGeometry(display, top, &root, &x, &y, &width, &height, &border, &depth);
    return {x, y, (int)(width + 2 * border), (int)(height + 2 * border)};
}

// What a taskbar or a pager sends; the window manager then closes the window its own way.
void CloseThroughWindowManager(Display* display, Window client)
{
    SendClientMessage(display, DefaultRootWindow(display),
                      SubstructureRedirectMask | SubstructureNotifyMask, client,
                      "_NET_CLOSE_WINDOW", CurrentTime, 2 /* from a pager */);
}

// The viewports the demo set, one per WM_SIZE, from the viewport_log shim's lines.
std::vector<std::pair<int, int>> Viewports(const std::string& log)
{
    std::vector<std::pair<int, int>> viewports;
    std::istringstream lines(log);
    std::string word;
    int width, height;
    while (lines >> word)
        if (word == "glViewport" && lines >> width >> height)
            viewports.emplace_back(width, height);
    return viewports;
}

class DemoUnderWindowManager : public DemoOnXvfb,
                               public ::testing::WithParamInterface<WindowManager> {
protected:
    // The window manager runs with a home of its own, where it may write its settings. fluxbox
    // would set a wallpaper through helpers that outlive it; its overlay says not to.
    void StartWindowManager(const char* path)
    {
        ASSERT_EQ(access(path, X_OK), 0) << path << ": not installed (see scripts/packages.sh)";
        char home[] = "/tmp/boulles-wm-XXXXXX";
        ASSERT_NE(mkdtemp(home), nullptr);
        windowManagerHome = home;
        ASSERT_EQ(std::system(("mkdir '" + windowManagerHome + "/.fluxbox' && echo 'background: none' >'" +
                               windowManagerHome + "/.fluxbox/overlay'").c_str()), 0);
        const char* const command[] = {path, home};
        ASSERT_TRUE(windowManager.Fork(RunQuietly, (void*)command));
        const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
        ASSERT_TRUE(WaitUntil([&] { return HasRootProperty(check); }))
            << GetParam().name << " did not start";
    }

    // Runs {program, home} without standard error, so that nothing it starts can hold the test's
    // pipe open.
    static int RunQuietly(void* command)
    {
        const char* const* programAndHome = (const char* const*)command;
        setenv("HOME", programAndHome[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execl(programAndHome[0], programAndHome[0], (char*)nullptr);
        return 127;
    }

    void TearDown() override
    {
        windowManager.WaitForExit(0);
        if (!windowManagerHome.empty())
            std::system(("rm -rf '" + windowManagerHome + "'").c_str());
        DemoOnXvfb::TearDown();
    }

    bool HasRootProperty(Atom property)
    {
        int count = 0;
        Atom* properties = XListProperties(display, DefaultRootWindow(display), &count);
        bool found = false;
        for (int i = 0; i < count; ++i)
            found = found || properties[i] == property;
        if (properties)
            XFree(properties);
        return found;
    }

    ChildProcess windowManager;
    std::string windowManagerHome;
};

// The outer rectangle asked for is 640x480 at the top-left corner, frame included; the demo
// hears of the client size once, whether the frame was known before mapping (openbox) or only
// after (fluxbox), and the window manager's close ends it with 0.
TEST_P(DemoUnderWindowManager, FrameFitsTheAskedRectangleAndCloseEndsWithZero)
{
    StartServer();
    StartWindowManager(GetParam().path);
    StartDemoProcess({}, VIEWPORT_LOG_PATH);
    WaitForDemoWindow();
    const Rectangle asked = {0, 0, 640, 480};
    Rectangle outer = {};
    WaitUntil([&] { return (outer = OuterRectangle(display, window)) == asked; });
    EXPECT_EQ(outer, asked);
    WaitForFrames(FRAMES_UNTIL_SEEN);  // any late size message has been handled by now
    XWindowAttributes client = {};
    XGetWindowAttributes(display, window, &client);

    CloseThroughWindowManager(display, window);
    ExpectExit(0);
    const std::vector<std::pair<int, int>> viewports = Viewports(demo.StandardError());
    ASSERT_FALSE(viewports.empty()) << demo.StandardError();
    const std::pair<int, int> clientSize(client.width, client.height);
    EXPECT_EQ(viewports.back(), clientSize) << demo.StandardError();
    EXPECT_EQ(std::count(viewports.begin(), viewports.end(), clientSize), 1) << demo.StandardError();
}

TEST_P(DemoUnderWindowManager, KeyReleasedOutsideTheWindowIsUp)
{
    StartServer();
    StartWindowManager(GetParam().path);
    StartDemoProcess();
    WaitForDemoWindow();
    ExpectKeyReleasedOutsideToBeUp();
}

INSTANTIATE_TEST_SUITE_P(Debian, DemoUnderWindowManager,
                         ::testing::Values(WindowManager{"openbox", OPENBOX_PATH},
                                           WindowManager{"fluxbox", FLUXBOX_PATH}),
                         [](const ::testing::TestParamInfo<WindowManager>& info) {
                             return std::string(info.param.name);
                         });

TEST(DemoWithoutDisplay, EndsWithOneAndOneLineOnStandardError)
{
    const char* saved = std::getenv("DISPLAY");
    const std::string previous = saved != nullptr ? saved : "";
    unsetenv("DISPLAY");
    ChildProcess demo;
    ASSERT_TRUE(demo.Start({BOULLES_PATH}));
    const int code = demo.WaitForExit();
    if (!previous.empty())
        setenv("DISPLAY", previous.c_str(), 1);
    EXPECT_EQ(code, 1);
    const std::string error = demo.StandardError();
    ASSERT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

}  // namespace
