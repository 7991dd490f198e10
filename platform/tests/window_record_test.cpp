// Window classes, creation and the sizes a window is told, over the null backend.

#include "platform/tests/layer_fixture.h"

#include "platform/null/null_backend.h"

#include <cstddef>

namespace {

using WindowRecord = LayerTest;

// The backend reports the client size during creation; creation's one WM_SIZE carries it.
TEST_F(WindowRecord, CreationSendsCreateThenSizeBeforeReturning)
{
    NullSetFrame(8, 28);
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].message, (UINT)WM_CREATE);
    EXPECT_TRUE(delivered[0].duringCreation);
    EXPECT_EQ(delivered[1].message, (UINT)WM_SIZE);
    EXPECT_TRUE(delivered[1].duringCreation);
    EXPECT_EQ(delivered[1].lParam, MAKELPARAM(640 - 8, 480 - 28));
}

TEST_F(WindowRecord, CreateMessageCarriesTheCreationArguments)
{
    onCreate = [](HWND) {
        const CREATESTRUCTA* create = (const CREATESTRUCTA*)delivered.back().lParam;
        EXPECT_STREQ(create->lpszName, "Test window");
        EXPECT_EQ(create->cx, 640);
        EXPECT_EQ(create->cy, 480);
    };
    ASSERT_NE(CreateTestWindow(), nullptr);
}

// Only changes of a window that is not minimised make a WM_SIZE; minimising is 0 by 0.
TEST_F(WindowRecord, SizeMessagesFollowWhatTheBackendReports)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    delivered.clear();
    CoreClientSized(hwnd, 640, 480);  // unchanged
    CoreClientSized(hwnd, 300, 200);
    CoreMinimized(hwnd);
    CoreClientSized(hwnd, 400, 300);  // while minimised
    CoreMinimized(hwnd);
    CoreRestored(hwnd, 400, 300);
    CoreRestored(hwnd, 500, 400);  // not minimised

    const LPARAM sizes[] = {MAKELPARAM(300, 200), 0, MAKELPARAM(400, 300)};
    const WPARAM kinds[] = {SIZE_RESTORED, SIZE_MINIMIZED, SIZE_RESTORED};
    ASSERT_EQ(delivered.size(), 3u);
    for (size_t i = 0; i < delivered.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "size message " << i);
        EXPECT_EQ(delivered[i].message, (UINT)WM_SIZE);
        EXPECT_EQ(delivered[i].lParam, sizes[i]);
        EXPECT_EQ(delivered[i].wParam, kinds[i]);
    }
}

TEST_F(WindowRecord, FailuresGiveZeroOrNull)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "Twice";
    EXPECT_NE(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(CreateWindowExA(0, "No such class", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    WNDCLASSA refusing = {};
    refusing.lpfnWndProc = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_CREATE ? -1 : 0;
    };
    refusing.lpszClassName = "Refusing";
    ASSERT_NE(RegisterClassA(&refusing), 0);
    // A refused creation frees its record: more of them than there are records all fail alike.
    for (int i = 0; i < MAX_WINDOWS + 1; ++i)
        EXPECT_EQ(CreateWindowExA(0, "refusing", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
                  nullptr);  // class names ignore case
    for (int i = 0; i < MAX_WINDOWS; ++i)
        EXPECT_NE(CreateTestWindow(), nullptr) << "window " << i;
    EXPECT_EQ(CreateTestWindow(), nullptr);
}

TEST_F(WindowRecord, DeviceContextBelongsToItsWindow)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    HDC hdc = GetDC(hwnd);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(WindowFromDC(hdc), hwnd);
    EXPECT_EQ(GetDC(hwnd), hdc);
    EXPECT_EQ(ReleaseDC(hwnd, hdc), 1);
}

TEST(PixelFormatDescriptor, HasThePublishedLayout)
{
    EXPECT_EQ(sizeof(PIXELFORMATDESCRIPTOR), 40u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwFlags), 4u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, cDepthBits), 23u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwLayerMask), 28u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwDamageMask), 36u);
}

}  // namespace
