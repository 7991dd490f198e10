// The key state and key messages the core makes of what a backend reports.

#include "platform/tests/layer_fixture.h"

namespace {

using KeyState = LayerTest;

const SHORT DOWN = (SHORT)0x8000;
const SHORT TOGGLED = 1;
const LPARAM WAS_DOWN = (LPARAM)1 << 30;
const LPARAM RELEASED = (LPARAM)1u << 31;

struct Expected {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Fetches and translates as a message loop does, and compares what comes with `expected`.
void ExpectMessages(HWND hwnd, const Expected* expected, int count)
{
    MSG message;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(::testing::Message() << "message " << i);
        ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
        TranslateMessage(&message);
        EXPECT_EQ(message.hwnd, hwnd);
        EXPECT_EQ(message.message, expected[i].message);
        EXPECT_EQ(message.wParam, expected[i].wParam);
        EXPECT_EQ((DWORD)message.lParam, (DWORD)expected[i].lParam);
    }
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1) << "more messages than expected";
}

// As on Windows: repeat count 1 and the scan code, then the previous state and the transition;
// the character a press types comes next, ahead of what was queued after the press.
TEST_F(KeyState, KeyMessagesCarryScanCodeRepeatReleaseAndCharacter)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    const LPARAM SCAN_CODE = (LPARAM)78 << 16;
    CoreKeyChanged(hwnd, VK_ADD, 78, true, '+');
    CoreKeyChanged(hwnd, VK_ADD, 78, true, '+');  // auto-repeat
    CoreKeyChanged(hwnd, VK_ADD, 78, false, 0);
    const Expected expected[] = {
        {WM_KEYDOWN, VK_ADD, 1 | SCAN_CODE},
        {WM_CHAR, '+', 1 | SCAN_CODE},
        {WM_KEYDOWN, VK_ADD, 1 | SCAN_CODE | WAS_DOWN},
        {WM_CHAR, '+', 1 | SCAN_CODE | WAS_DOWN},
        {WM_KEYUP, VK_ADD, 1 | SCAN_CODE | WAS_DOWN | RELEASED},
    };
    ExpectMessages(hwnd, expected, 5);
}

// A key outside the table still types; characters typed without a key and wheel turns post
// their own messages, the wheel's delta signed in wParam's high word, clamped to 16 bits.
TEST_F(KeyState, CharactersAndWheelWithoutKeyMessages)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    CoreKeyChanged(hwnd, 0, 40, true, 0xE9);
    CoreCharTyped(hwnd, '*');
    CoreWheelTurned(hwnd, -WHEEL_DELTA, 10, 20);
    CoreWheelTurned(hwnd, 100000, 0, 0);
    const Expected expected[] = {
        {WM_CHAR, 0xE9, 1 | (LPARAM)40 << 16},
        {WM_CHAR, '*', 1},
        {WM_MOUSEWHEEL, (WPARAM)(WORD)-WHEEL_DELTA << 16, MAKELPARAM(10, 20)},
        {WM_MOUSEWHEEL, (WPARAM)0x7FFF << 16, 0},
    };
    ExpectMessages(hwnd, expected, 4);
    EXPECT_EQ(GetKeyState(0), 0);
}

// Down while held, as of the key message retrieved last; toggled by every press that is not a
// repeat, as Caps Lock is.
TEST_F(KeyState, KeysReadDownWhileHeldAndToggleOnEachPress)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    const bool steps[] = {true, true, false, true, false};
    const SHORT expected[] = {DOWN | TOGGLED, DOWN | TOGGLED, TOGGLED, DOWN, 0};
    MSG message;
    for (int i = 0; i < 5; ++i) {
        CoreKeyChanged(hwnd, 'Q', 0, steps[i], 0);
        EXPECT_EQ(GetKeyState('Q'), i == 0 ? 0 : expected[i - 1]) << "step " << i << ", queued";
        ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
        EXPECT_EQ(GetKeyState('Q'), expected[i]) << "step " << i;
    }
}

struct Retrieved {
    UINT message;
    POINT cursor;
    bool buttonDown;
};

// The cursor and the buttons change together, when their message is retrieved: a drag then
// turns by exactly what the pointer did between press and release. Moves queued one after
// another merge; codes other than the three buttons post nothing.
TEST_F(KeyState, CursorAndButtonsAreAsOfTheMessageRetrievedLast)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    for (int code : {0, -1, (int)'A', 256})
        CoreButtonChanged(hwnd, code, true, 99, 99);
    CorePointerMoved(hwnd, 10, 20);
    CoreButtonChanged(hwnd, VK_LBUTTON, true, 10, 20);
    for (int x = 11; x <= 510; ++x)
        CorePointerMoved(hwnd, x, 20);
    CoreButtonChanged(hwnd, VK_LBUTTON, false, 510, 20);
    CorePointerMoved(hwnd, 10, 20);
    const Retrieved expected[] = {
        {WM_MOUSEMOVE, {10, 20}, false},  {WM_LBUTTONDOWN, {10, 20}, true},
        {WM_MOUSEMOVE, {510, 20}, true},  {WM_LBUTTONUP, {510, 20}, false},
        {WM_MOUSEMOVE, {10, 20}, false},
    };
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 0) << "nothing retrieved yet";
    MSG message;
    for (const Retrieved& e : expected) {
        SCOPED_TRACE(::testing::Message() << "message " << std::hex << e.message);
        ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
        EXPECT_EQ(message.message, e.message);
        EXPECT_EQ(message.lParam, MAKELPARAM(e.cursor.x, e.cursor.y));
        GetCursorPos(&cursor);
        EXPECT_EQ(cursor.x, e.cursor.x);
        EXPECT_EQ(cursor.y, e.cursor.y);
        EXPECT_EQ((GetKeyState(VK_LBUTTON) & DOWN) != 0, e.buttonDown);
    }
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);
    EXPECT_FALSE(GetCursorPos(nullptr));
}

// What the window system says is down stays down; the rest is released by messages queued
// after what came before, and releasing all keeps the toggles.
TEST_F(KeyState, KeysNotDownAnyMoreAreReleased)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    CoreKeyChanged(hwnd, 'A', 30, true, 0);
    CoreKeyChanged(hwnd, VK_ADD, 78, true, 0);
    CoreButtonChanged(hwnd, VK_LBUTTON, true, 5, 6);
    const int stillDown[] = {VK_ADD, VK_ESCAPE};
    CoreKeysDownAre(hwnd, stillDown, 2);
    CoreReleaseAllKeys();
    const Expected expected[] = {
        {WM_KEYDOWN, 'A', 1 | (LPARAM)30 << 16},  {WM_KEYDOWN, VK_ADD, 1 | (LPARAM)78 << 16},
        {WM_LBUTTONDOWN, 0, MAKELPARAM(5, 6)},    {WM_LBUTTONUP, 0, MAKELPARAM(5, 6)},
        {WM_KEYUP, 'A', 1 | WAS_DOWN | RELEASED}, {WM_KEYUP, VK_ADD, 1 | WAS_DOWN | RELEASED},
    };
    ExpectMessages(hwnd, expected, 6);
    EXPECT_EQ(GetKeyState('A'), TOGGLED);
    EXPECT_EQ(GetKeyState(VK_ADD), TOGGLED);
    EXPECT_EQ(GetKeyState(VK_LBUTTON) & DOWN, 0);
}

}  // namespace
