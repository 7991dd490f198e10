// Message priorities and the timer, against a real X connection.

#include "platform/tests/layer_fixture.h"

#include <ctime>

namespace {

using MessageQueueOnXvfb = LayerOnXvfb;

const UINT_PTR FRAME_TIMER = 10;

void SleepMs(int ms)
{
    timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

double NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Fetches messages for `ms` milliseconds, counting the timer's; the quit message ends it early.
int CountTicksFor(double ms)
{
    int ticks = 0;
    MSG message;
    for (const double end = NowMs() + ms; NowMs() < end;) {
        if (GetMessageA(&message, nullptr, 0, 0) != 1)
            break;
        ticks += message.message == WM_TIMER ? 1 : 0;
    }
    return ticks;
}

TEST_F(MessageQueueOnXvfb, PostedThenQuitThenTimer)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, FRAME_TIMER, 0, nullptr);
    SleepMs(30);  // the timer is due
    CorePostMessage(hwnd, WM_KEYDOWN, 'A', 0);
    CorePostMessage(hwnd, WM_KEYDOWN, 'B', 0);
    PostQuitMessage(3);

    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.wParam, (WPARAM)'A');
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.wParam, (WPARAM)'B');
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), 0);  // before the due timer
    EXPECT_EQ(message.message, (UINT)WM_QUIT);
    EXPECT_EQ(message.wParam, (WPARAM)3);
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);  // the quit message is taken once
    EXPECT_EQ(message.message, (UINT)WM_TIMER);
    EXPECT_EQ(message.hwnd, hwnd);
    EXPECT_EQ(message.wParam, FRAME_TIMER);
}

TEST_F(MessageQueueOnXvfb, TicksDueDuringALongFrameMergeIntoOne)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, FRAME_TIMER, 0, nullptr);
    SleepMs(200);  // a frame twenty periods long
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, (UINT)WM_TIMER);
    // Queued ticks would come back to back: twenty at once instead of about five in 50 ms.
    EXPECT_LE(CountTicksFor(50), 10);
}

TEST_F(MessageQueueOnXvfb, PeriodZeroTicksAtTheTenMillisecondMinimum)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, FRAME_TIMER, 0, nullptr);
    const int ticks = CountTicksFor(500);
    // Loose bounds on a shared machine: about 50 expected; a spinning timer would give thousands.
    EXPECT_GE(ticks, 10);
    EXPECT_LE(ticks, 52);
}

TEST_F(MessageQueueOnXvfb, TimerProcedureIsCalledByDispatch)
{
    static int calls;
    calls = 0;
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, 5, 10, [](HWND, UINT, UINT_PTR id, DWORD) { calls += id == 5 ? 1 : 0; });
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    DispatchMessageA(&message);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(CountDelivered(WM_TIMER), 0);  // the procedure, not the window, took it
}

TEST_F(MessageQueueOnXvfb, SendMessageCallsTheProcedureBeforeReturning)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(CountDelivered(WM_CLOSE), 1);
}

}  // namespace
