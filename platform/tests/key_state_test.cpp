// The key state and key messages the core makes of what a backend reports.

#include "platform/tests/layer_fixture.h"

namespace {

using KeyState = LayerTest;

const SHORT DOWN = (SHORT)0x8000;
const SHORT TOGGLED = 1;
const LPARAM WAS_DOWN = (LPARAM)1 << 30;
const LPARAM RELEASED = (LPARAM)1u << 31;

// As on Windows: repeat count 1 and the scan code, then the previous state and the transition.
TEST_F(KeyState, KeyMessagesCarryScanCodeRepeatAndRelease)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    delivered.clear();
    const unsigned SCAN_CODE = 78;
    CoreKeyChanged(hwnd, VK_ADD, SCAN_CODE, true);
    CoreKeyChanged(hwnd, VK_ADD, SCAN_CODE, true);  // auto-repeat
    CoreKeyChanged(hwnd, VK_ADD, SCAN_CODE, false);
    MSG message;
    const UINT messages[] = {WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP};
    const LPARAM flags[] = {0, WAS_DOWN, WAS_DOWN | RELEASED};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(::testing::Message() << "message " << i);
        ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
        EXPECT_EQ(message.hwnd, hwnd);
        EXPECT_EQ(message.message, messages[i]);
        EXPECT_EQ(message.wParam, (WPARAM)VK_ADD);
        EXPECT_EQ((DWORD)message.lParam, (DWORD)(1 | (LPARAM)SCAN_CODE << 16 | flags[i]));
    }
}

// Down while held; toggled by every press that is not a repeat, as Caps Lock is.
TEST_F(KeyState, KeysReadDownWhileHeldAndToggleOnEachPress)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    const bool steps[] = {true, true, false, true, false};
    const SHORT expected[] = {DOWN | TOGGLED, DOWN | TOGGLED, TOGGLED, DOWN, 0};
    for (int i = 0; i < 5; ++i) {
        CoreKeyChanged(hwnd, 'Q', 0, steps[i]);
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
        CoreKeyChanged(hwnd, code, 0, true);
        CoreButtonChanged(code, true);
        EXPECT_EQ(GetKeyState(code), 0) << "code " << code;
    }
    MSG message;
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);  // nothing was posted
    CoreKeyChanged(hwnd, VK_ADD, 0, true);
    CoreReleaseAllKeys();
    EXPECT_EQ(GetKeyState(VK_ADD), TOGGLED);
    EXPECT_EQ(GetKeyState(VK_LBUTTON), 0);
}

}  // namespace
