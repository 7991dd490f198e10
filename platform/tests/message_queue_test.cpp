// Message priorities and timers, over the null backend: its clock moves only when the test or
// the core's wait moves it, so every tick falls at an exact time.

#include "platform/tests/layer_fixture.h"

#include "platform/null/null_backend.h"

namespace {

using MessageQueue = LayerTest;

const UINT_PTR FRAME_TIMER = 10;
const int64_t NS_PER_MS = 1000000;

void ReceiveKeyC(HWND hwnd)
{
    CoreKeyChanged(hwnd, 'C', 0, true, 0);
}

TEST_F(MessageQueue, PostedThenQuitThenInputThenTimer)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, FRAME_TIMER, 0, nullptr);
    NullAdvanceClock(30 * NS_PER_MS);  // the timer is due
    NullReceive(ReceiveKeyC, hwnd);
    CorePostMessage(hwnd, WM_KEYDOWN, 'A', 0);
    CorePostMessage(hwnd, WM_KEYDOWN, 'B', 0);
    PostQuitMessage(3);

    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.wParam, (WPARAM)'A');
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.wParam, (WPARAM)'B');
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), 0);  // before the input and the due timer
    EXPECT_EQ(message.message, (UINT)WM_QUIT);
    EXPECT_EQ(message.wParam, (WPARAM)3);
    EXPECT_FALSE(GetKeyState('C') & 0x8000) << "input taken before the quit message";
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);  // the quit message is taken once
    EXPECT_EQ(message.message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(message.wParam, (WPARAM)'C');
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, (UINT)WM_TIMER);
    EXPECT_EQ(message.hwnd, hwnd);
    EXPECT_EQ(message.wParam, FRAME_TIMER);
    EXPECT_EQ(message.time, 30u);
}

struct PeriodCase {
    UINT elapse;
    DWORD period;  // milliseconds between ticks
};

TEST_F(MessageQueue, TimersTickEveryPeriodAndNeverUnderTenMilliseconds)
{
    const PeriodCase cases[] = {{0, 10}, {5, 10}, {10, 10}, {25, 25}};
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    for (const PeriodCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "elapse " << c.elapse);
        const DWORD start = (DWORD)(BackendNow() / NS_PER_MS);
        SetTimer(hwnd, FRAME_TIMER, c.elapse, nullptr);  // the same id replaces the timer
        MSG message;
        for (DWORD tick = 1; tick <= 5; ++tick) {
            ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
            EXPECT_EQ(message.message, (UINT)WM_TIMER);
            EXPECT_EQ(message.time, start + tick * c.period);
        }
    }
}

TEST_F(MessageQueue, TicksDueDuringALongFrameMergeIntoOne)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, FRAME_TIMER, 0, nullptr);
    NullAdvanceClock(205 * NS_PER_MS);  // a frame twenty periods long
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, (UINT)WM_TIMER);
    EXPECT_EQ(message.time, 205u);
    // Queued ticks would come back to back; the next is due on the schedule, not at once.
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, (UINT)WM_TIMER);
    EXPECT_EQ(message.time, 210u);
}

TEST_F(MessageQueue, TimerProcedureIsCalledByDispatch)
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

TEST_F(MessageQueue, SendMessageCallsTheProcedureBeforeReturning)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(CountDelivered(WM_CLOSE), 1);
}

// With no timer, a backend that can never receive anything has nothing to wait for.
TEST_F(MessageQueue, FetchFailsInsteadOfWaitingForEver)
{
    ASSERT_NE(CreateTestWindow(), nullptr);
    MSG message;
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
}

// Each delivery posts the next of a numbered run of key presses and releases.
int keysSent;

void ReceiveNumberedKey(HWND hwnd)
{
    CoreKeyChanged(hwnd, 'A' + keysSent / 2 % 26, 0, keysSent % 2 == 0, 0);
    ++keysSent;
}

// More events than the queue holds: what finds no room waits in the backend, in order, and
// every key message arrives.
TEST_F(MessageQueue, BurstBeyondTheQueueWaitsAndLosesNothing)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    keysSent = 0;
    int received = 0;
    for (int round = 0; round < 40; ++round) {  // 40 of 64: two and a half queues
        while (NullReceive(ReceiveNumberedKey, hwnd))
            ++received;
        BackendDrainEvents();
    }
    EXPECT_FALSE(CoreHasRoom());
    MSG message;
    int fetched = 0;
    for (; GetMessageA(&message, nullptr, 0, 0) == 1; ++fetched) {
        ASSERT_EQ(message.message, (UINT)(fetched % 2 == 0 ? WM_KEYDOWN : WM_KEYUP)) << fetched;
        ASSERT_EQ(message.wParam, (WPARAM)('A' + fetched / 2 % 26)) << fetched;
    }
    EXPECT_EQ(fetched, received);
}

// 2,000 notches in one burst come as a few messages of the same sum; the pointer's moves as
// one, at the last place; whatever comes between ends a run.
TEST_F(MessageQueue, RunsOfMovesAndWheelTurnsMerge)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    for (int i = 1; i <= 2000; ++i)
        CorePointerMoved(hwnd, i, 2 * i);
    for (int i = 0; i < 2000; ++i)
        CoreWheelTurned(hwnd, WHEEL_DELTA, 7, 8);
    CorePointerMoved(hwnd, 1, 1);
    for (int i = 0; i < 3; ++i)
        CoreWheelTurned(hwnd, -WHEEL_DELTA, 1, 1);

    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, (UINT)WM_MOUSEMOVE);
    EXPECT_EQ(message.lParam, MAKELPARAM(2000, 4000));
    long sum = 0;
    int wheelMessages = 0;
    while (GetMessageA(&message, nullptr, 0, 0) == 1 && message.message == WM_MOUSEWHEEL) {
        sum += GET_WHEEL_DELTA_WPARAM(message.wParam);
        ++wheelMessages;
    }
    EXPECT_EQ(sum, 2000L * WHEEL_DELTA);
    EXPECT_EQ(wheelMessages, 8);  // 273 notches fit in 16 bits
    EXPECT_EQ(message.message, (UINT)WM_MOUSEMOVE);
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(message.wParam), -3 * WHEEL_DELTA);
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);
}

}  // namespace
