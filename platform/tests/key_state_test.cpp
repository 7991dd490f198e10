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

// Down while held; toggled by every press that is not a repeat, as Caps Lock is.
TEST_F(KeyState, KeysReadDownWhileHeldAndToggleOnEachPress)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    const bool steps[] = {true, true, false, true, false};
    const SHORT expected[] = {DOWN | TOGGLED, DOWN | TOGGLED, TOGGLED, DOWN, 0};
    for (int i = 0; i < 5; ++i) {
        CoreKeyChanged(hwnd, 'Q', 0, steps[i], 0);
        EXPECT_EQ(GetKeyState('Q'), expected[i]) << "step " << i;
    }
}

// Buttons post nothing; codes outside the table change nothing; releasing all keeps toggles.
TEST_F(KeyState, ButtonsUnknownCodesAndReleasingAll)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    CoreButtonChanged(VK_LBUTTON, true);
    EXPECT_EQ(GetKeyState(VK_LBUTTON), DOWN);
    for (int code : {0, -1, 256, 1000}) {
        CoreKeyChanged(hwnd, code, 0, true, 0);
        CoreButtonChanged(code, true);
        EXPECT_EQ(GetKeyState(code), 0) << "code " << code;
    }
    MSG message;
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);  // nothing was posted
    CoreKeyChanged(hwnd, VK_ADD, 0, true, 0);
    CoreReleaseAllKeys();
    EXPECT_EQ(GetKeyState(VK_ADD), TOGGLED);
    EXPECT_EQ(GetKeyState(VK_LBUTTON), 0);
}

}  // namespace
