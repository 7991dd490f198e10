// Key and button state from input injected through XTest, as real devices would send it.

#include "platform/tests/xvfb_fixture.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

using InputOnXvfb = LayerOnXvfb;

const SHORT DOWN = (SHORT)0x8000;

bool IsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & DOWN) != 0;
}

int wantedKey;
bool WantedKeyIsDown() { return IsDown(wantedKey); }
bool WantedKeyIsUp() { return !IsDown(wantedKey); }

int KeyMessages(UINT message, int virtualKey)
{
    int count = 0;
    for (const Delivered& d : LayerOnXvfb::delivered)
        count += d.message == message && d.wParam == (WPARAM)virtualKey ? 1 : 0;
    return count;
}

void SetNumLock(Display* display, bool on)
{
    const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(display, False);
}

struct KeypadCase {
    unsigned long keysym;
    int virtualKey;
};

const KeypadCase KEYPAD[] = {
    {XK_KP_Add, VK_ADD},
    {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Divide, VK_DIVIDE},
};

TEST_F(InputOnXvfb, KeypadOperatorsReadDownInBothNumLockStates)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    Focus(hwnd);
    for (bool numLock : {false, true}) {
        SetNumLock(probe, numLock);
        for (const KeypadCase& c : KEYPAD) {
            SCOPED_TRACE(::testing::Message() << "NumLock " << numLock << ", key " << c.virtualKey);
            wantedKey = c.virtualKey;
            FakeKey(probe, c.keysym, true);
            EXPECT_TRUE(PumpUntil(hwnd, WantedKeyIsDown));
            EXPECT_EQ(KeyMessages(WM_KEYDOWN, c.virtualKey), numLock ? 2 : 1);
            FakeKey(probe, c.keysym, false);
            EXPECT_TRUE(PumpUntil(hwnd, WantedKeyIsUp));
        }
    }
}

TEST_F(InputOnXvfb, MainKeyboardPlusAndMinusAreNotTheKeypads)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    Focus(hwnd);
    FakeKey(probe, XK_Shift_L, true);
    FakeKey(probe, XK_equal, true);  // + on the main keyboard
    FakeKey(probe, XK_minus, true);
    FakeKey(probe, XK_Escape, true);  // a key the layer knows, as an end marker
    ASSERT_TRUE(PumpUntil(hwnd, [] { return KeyMessages(WM_KEYDOWN, VK_ESCAPE) == 1; }));
    EXPECT_FALSE(IsDown(VK_ADD));
    EXPECT_FALSE(IsDown(VK_SUBTRACT));
    EXPECT_TRUE(IsDown(VK_ESCAPE));
    for (unsigned long keysym : {XK_Escape, XK_minus, XK_equal, XK_Shift_L})
        FakeKey(probe, keysym, false);
}

TEST_F(InputOnXvfb, EscapeArrivesAsKeyDownMessage)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    Focus(hwnd);
    FakeKey(probe, XK_Escape, true);
    FakeKey(probe, XK_Escape, false);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return KeyMessages(WM_KEYUP, VK_ESCAPE) == 1; }));
    EXPECT_EQ(KeyMessages(WM_KEYDOWN, VK_ESCAPE), 1);
}

TEST_F(InputOnXvfb, LeftButtonReadsDownWhilePressed)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    FakePointerMove(probe, 100, 100);
    wantedKey = VK_LBUTTON;
    FakeButton(probe, 1, true);
    EXPECT_TRUE(PumpUntil(hwnd, WantedKeyIsDown));
    // The drag goes on outside the window: X keeps sending to it until the release.
    FakePointerMove(probe, 900, 700);
    FakeButton(probe, 1, false);
    EXPECT_TRUE(PumpUntil(hwnd, WantedKeyIsUp));
    FakeButton(probe, 3, true);  // another button does not count
    FakeButton(probe, 3, false);
    EXPECT_FALSE(IsDown(VK_LBUTTON));
}

TEST_F(InputOnXvfb, HeldKeyStaysDownThroughAutoRepeat)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    Focus(hwnd);
    XAutoRepeatOn(probe);
    FakeKey(probe, XK_KP_Add, true);
    wantedKey = VK_ADD;
    ASSERT_TRUE(PumpUntil(hwnd, WantedKeyIsDown));
    static bool releasedBetween;
    releasedBetween = false;
    // The server repeats after about 660 ms; a fake release would show as a WM_KEYUP.
    const bool repeated = PumpUntil(hwnd, [] {
        releasedBetween = releasedBetween || !IsDown(VK_ADD) || KeyMessages(WM_KEYUP, VK_ADD) > 0;
        return KeyMessages(WM_KEYDOWN, VK_ADD) >= 3;
    });
    FakeKey(probe, XK_KP_Add, false);
    EXPECT_TRUE(repeated);
    EXPECT_FALSE(releasedBetween);
}

TEST_F(InputOnXvfb, LosingFocusReleasesEveryKeyAndButton)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    Focus(hwnd);
    FakePointerMove(probe, 100, 100);
    FakeKey(probe, XK_KP_Add, true);
    FakeButton(probe, 1, true);
    ASSERT_TRUE(PumpUntil(hwnd, [] { return IsDown(VK_ADD) && IsDown(VK_LBUTTON); }));
    XSetInputFocus(probe, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(probe, False);
    EXPECT_TRUE(PumpUntil(hwnd, [] { return !IsDown(VK_ADD) && !IsDown(VK_LBUTTON); }));
    FakeKey(probe, XK_KP_Add, false);
    FakeButton(probe, 1, false);
}

// The cursor as the pointer's events have told it, within the window and as it leaves it.
TEST_F(InputOnXvfb, CursorPositionIsInScreenPixels)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    static POINT place;
    for (const POINT& p : {POINT{0, 0}, POINT{123, 456}, POINT{1023, 767}}) {
        place = p;
        FakePointerMove(probe, place.x, place.y);
        EXPECT_TRUE(PumpUntil(hwnd, [] {
            POINT cursor = {-1, -1};
            return GetCursorPos(&cursor) && cursor.x == place.x && cursor.y == place.y;
        })) << place.x << ", " << place.y;
    }
}

}  // namespace
