#include "platform/tests/xvfb_fixture.h"

namespace {

const UINT_PTR PUMP_TIMER_ID = 77;
const int64_t HANG_NS = 60 * 1000000000LL;

}  // namespace

void LayerOnXvfb::StartServer(const std::vector<std::string>& extraArguments)
{
    ASSERT_TRUE(server.Start(extraArguments)) << "Xvfb did not start";
    server.UseAsDefault();
    probe = XOpenDisplay(server.DisplayName().c_str());
    ASSERT_NE(probe, nullptr);
}

void LayerOnXvfb::TearDown()
{
    LayerTest::TearDown();
    if (probe)
        XCloseDisplay(probe);
    probe = nullptr;
    server.Stop();
}

bool LayerOnXvfb::PumpUntil(HWND hwnd, bool (*done)())
{
    SetTimer(hwnd, PUMP_TIMER_ID, 10, nullptr);
    const int64_t deadline = MonotonicClock() + HANG_NS;
    MSG message;
    while (!done()) {
        if (MonotonicClock() > deadline || GetMessageA(&message, nullptr, 0, 0) != 1)
            return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void LayerOnXvfb::Focus(HWND hwnd)
{
    XSetInputFocus(probe, XWindowOf(hwnd)->xWindow, RevertToPointerRoot, CurrentTime);
    ASSERT_TRUE(WaitForFocus(probe, XWindowOf(hwnd)->xWindow));
}
