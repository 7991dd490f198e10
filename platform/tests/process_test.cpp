// The layer in whole processes: the sample Win32 program run under its own Xvfb, and the message
// box in a forked child. Each test starts its own X server.

#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros break it

#include <windows.h>

#include "tests/support/xvfb_server.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <string>
#include <vector>

namespace {

const char BOX_TITLE_UTF8[] = "Probl\xc3\xa8me";

class ProcessOnXvfb : public ::testing::Test {
protected:
    void SetUp() override { StartServer({}); }
    void TearDown() override
    {
        if (probe)
            XCloseDisplay(probe);
    }

    void StartServer(const std::vector<std::string>& extraArguments)
    {
        ASSERT_TRUE(server.Start(extraArguments));
        server.UseAsDefault();
        probe = XOpenDisplay(server.DisplayName().c_str());
        ASSERT_NE(probe, nullptr);
    }

    Window StartSample(const std::vector<std::string>& arguments = {})
    {
        std::vector<std::string> commandLine = {WIN32_SAMPLE_PATH};
        commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
        EXPECT_TRUE(sample.Start(commandLine));
        return WaitForWindowNamed(probe, "Win32 sample");
    }

    XvfbServer server;
    Display* probe = nullptr;
    ChildProcess sample;
};

TEST_F(ProcessOnXvfb, EscapeEndsTheSampleWithCodeZeroWhateverTheCommandLine)
{
    const Window window = StartSample({"ignored", "arguments"});
    ASSERT_NE(window, None);
    XSetInputFocus(probe, window, RevertToPointerRoot, CurrentTime);
    ASSERT_TRUE(WaitForFocus(probe, window));
    PressKey(probe, XK_Escape);
    EXPECT_EQ(sample.WaitForExit(), 0);
    EXPECT_EQ(sample.StandardError(), "");
}

TEST_F(ProcessOnXvfb, ClosingTheWindowEndsTheSampleWithCodeZero)
{
    const Window window = StartSample();
    ASSERT_NE(window, None);
    RequestClose(probe, window);
    EXPECT_EQ(sample.WaitForExit(), 0);
}

TEST_F(ProcessOnXvfb, LosingTheServerEndsTheProcessWithCodeOne)
{
    ASSERT_NE(StartSample(), None);
    XCloseDisplay(probe);  // or the test itself would be ended by the lost connection
    probe = nullptr;
    server.Kill();
    EXPECT_EQ(sample.WaitForExit(), 1);
    EXPECT_EQ(sample.StandardError(), "X server connection lost\n");
}

// A display that no server has: a number freed by a stopped server may be taken at once by a
// test running beside this one, as Xvfb -displayfd hands out the lowest free number.
std::string UnusedDisplayName()
{
    for (int number = 1000;; ++number) {
        const std::string suffix = std::to_string(number);
        if (access(("/tmp/.X11-unix/X" + suffix).c_str(), F_OK) != 0 &&
            access(("/tmp/.X" + suffix + "-lock").c_str(), F_OK) != 0)
            return ":" + suffix;
    }
}

TEST(ProcessWithoutXServer, MissingDisplayFailsWindowCreationWithOneLine)
{
    const std::string name = UnusedDisplayName();
    setenv("DISPLAY", name.c_str(), 1);
    ChildProcess sample;
    ASSERT_TRUE(sample.Start({WIN32_SAMPLE_PATH}));
    EXPECT_EQ(sample.WaitForExit(), 2);
    EXPECT_EQ(sample.StandardError(), "cannot open display \"" + name + "\"\n");
}

// --- message box ---

class ProcessOnXvfbWithoutGlx : public ProcessOnXvfb {
protected:
    void SetUp() override { StartServer({"-extension", "GLX"}); }
};

enum Dismissal { PRESS_ENTER, PRESS_SPACE, PRESS_ESCAPE, CLICK_OK, CLOSE_BOX };

void Dismiss(Display* probe, Window box, Dismissal how)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(probe, box, &attributes);
    switch (how) {
    case PRESS_ENTER: PressKey(probe, XK_Return); break;
    case PRESS_SPACE: PressKey(probe, XK_space); break;
    case PRESS_ESCAPE: PressKey(probe, XK_Escape); break;
    case CLICK_OK:
        // The button sits centred at the bottom, 16 pixels above the edge, 23 high.
        FakePointerMove(probe, attributes.x + attributes.width / 2, attributes.y + attributes.height - 27);
        FakeButton(probe, 1, true);
        FakeButton(probe, 1, false);
        break;
    case CLOSE_BOX:
        RequestClose(probe, box);
        break;
    }
}

// The box draws the OK button's frame last; once its corner is black, the whole box is drawn.
bool WaitUntilDrawn(Display* probe, Window box)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(probe, box, &attributes);
    const int x = (attributes.width - 75) / 2, y = attributes.height - 16 - 23;
    return WaitUntil([=] {
        XImage* image = XGetImage(probe, box, x, y, 1, 1, AllPlanes, ZPixmap);
        const bool drawn = image && (XGetPixel(image, 0, 0) & 0xffffff) == 0;
        if (image)
            XDestroyImage(image);
        return drawn;
    });
}

int CountRedPixels(Display* probe, Window box)
{
    XImage* image = XGetImage(probe, box, 0, 0, 64, 64, AllPlanes, ZPixmap);
    int red = 0;
    for (int y = 0; image && y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            red += (pixel >> 16 & 0xff) > 150 && (pixel >> 8 & 0xff) < 60 && (pixel & 0xff) < 60;
        }
    if (image)
        XDestroyImage(image);
    return red;
}

TEST_F(ProcessOnXvfbWithoutGlx, NoPixelFormatShowsTheBoxAndEndsWithCodeOne)
{
    ASSERT_TRUE(sample.Start({WIN32_SAMPLE_PATH}));
    const Window box = WaitForWindowNamed(probe, BOX_TITLE_UTF8);
    ASSERT_NE(box, None);
    EXPECT_EQ(ReadStringProperty(probe, box, "WM_NAME"), "Probl\xe8me");
    ASSERT_TRUE(WaitForFocus(probe, box));
    ASSERT_TRUE(WaitUntilDrawn(probe, box));
    EXPECT_GT(CountRedPixels(probe, box), 200);  // the error icon, a red disc 32 pixels wide
    Dismiss(probe, box, PRESS_ENTER);
    EXPECT_EQ(sample.WaitForExit(), 1);
    EXPECT_EQ(sample.StandardError(), "");
}

struct BoxText {
    const char* text;
};

int ShowBox(void* context)
{
    const int result = MessageBoxA(nullptr, ((BoxText*)context)->text, "Probl\xe8me", MB_ICONERROR);
    return result == IDOK ? 0 : 1;
}

TEST_F(ProcessOnXvfbWithoutGlx, BoxIsDismissedByEveryOrdinaryWay)
{
    const Dismissal ways[] = {PRESS_ENTER, PRESS_SPACE, PRESS_ESCAPE, CLICK_OK, CLOSE_BOX};
    for (Dismissal how : ways) {
        SCOPED_TRACE(::testing::Message() << "dismissal " << how);
        BoxText text = {"Mode graphique non support\xe9."};
        ChildProcess child;
        ASSERT_TRUE(child.Fork(ShowBox, &text));
        const Window box = WaitForWindowNamed(probe, BOX_TITLE_UTF8);
        ASSERT_NE(box, None);
        ASSERT_TRUE(WaitForFocus(probe, box));
        Dismiss(probe, box, how);
        EXPECT_EQ(child.WaitForExit(), 0);  // MessageBoxA returned IDOK
    }
}

// The text area of a box showing `text`, as pixels.
std::vector<unsigned long> BoxPixels(Display* probe, const char* text)
{
    BoxText boxText = {text};
    ChildProcess child;
    std::vector<unsigned long> pixels;
    if (!child.Fork(ShowBox, &boxText))
        return pixels;
    const Window box = WaitForWindowNamed(probe, BOX_TITLE_UTF8);
    if (box == None || !WaitForFocus(probe, box) || !WaitUntilDrawn(probe, box))
        return pixels;
    XWindowAttributes attributes;
    XGetWindowAttributes(probe, box, &attributes);
    XImage* image = XGetImage(probe, box, 0, 0, (unsigned)attributes.width, 60, AllPlanes, ZPixmap);
    for (int y = 0; image && y < 60; ++y)
        for (int x = 0; x < attributes.width; ++x)
            pixels.push_back(XGetPixel(image, x, y));
    if (image)
        XDestroyImage(image);
    Dismiss(probe, box, PRESS_ENTER);
    child.WaitForExit();
    return pixels;
}

int CountDifferences(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b)
{
    int differences = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        differences += a[i] != b[i] ? 1 : 0;
    return differences;
}

// An accented letter must come out as itself, neither as its base letter nor as a substitute
// such as '?': the three texts draw differently.
TEST_F(ProcessOnXvfbWithoutGlx, BoxDrawsAccentedLettersOfWindows1252)
{
    const std::vector<unsigned long> accented = BoxPixels(probe, "support\xe9.");
    const std::vector<unsigned long> plain = BoxPixels(probe, "supporte.");
    const std::vector<unsigned long> unknown = BoxPixels(probe, "support?.");
    ASSERT_FALSE(accented.empty());
    ASSERT_EQ(accented.size(), plain.size());
    EXPECT_GT(CountDifferences(accented, plain), 0);
    EXPECT_GT(CountDifferences(accented, unknown), 0);
    EXPECT_EQ(CountDifferences(plain, BoxPixels(probe, "supporte.")), 0);  // drawing is repeatable
}

}  // namespace
