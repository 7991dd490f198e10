#include "platform/tests/layer_fixture.h"

#include <ctime>

namespace {

const UINT_PTR PUMP_TIMER_ID = 77;

long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

LRESULT CALLBACK RecordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LayerOnXvfb::delivered.push_back(Delivered{message, wParam, lParam, LayerOnXvfb::creating});
    if (message == WM_CREATE && LayerOnXvfb::onCreate)
        LayerOnXvfb::onCreate(hwnd);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

const char* const LayerOnXvfb::CLASS_NAME = "Test class";
std::vector<Delivered> LayerOnXvfb::delivered;
bool LayerOnXvfb::creating = false;
void (*LayerOnXvfb::onCreate)(HWND) = nullptr;

void LayerOnXvfb::StartServer(const std::vector<std::string>& extraArguments)
{
    ASSERT_TRUE(server.Start(extraArguments)) << "Xvfb did not start";
    server.UseAsDefault();
    probe = XOpenDisplay(server.DisplayName().c_str());
    ASSERT_NE(probe, nullptr);
    delivered.clear();
    onCreate = nullptr;
}

void LayerOnXvfb::TearDown()
{
    ClosePlatform();
    if (probe)
        XCloseDisplay(probe);
    probe = nullptr;
    server.Stop();
}

HWND LayerOnXvfb::CreateTestWindow(const char* caption, DWORD style)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    creating = true;
    HWND hwnd = CreateWindowExA(0, CLASS_NAME, caption, style, 0, 0, 640, 480, nullptr, nullptr,
                                nullptr, nullptr);
    creating = false;
    return hwnd;
}

bool LayerOnXvfb::PumpUntil(HWND hwnd, bool (*done)(), int timeoutMs)
{
    SetTimer(hwnd, PUMP_TIMER_ID, 10, nullptr);
    const long deadline = NowMs() + timeoutMs;
    MSG message;
    while (!done()) {
        if (NowMs() > deadline || GetMessageA(&message, nullptr, 0, 0) != 1)
            return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void LayerOnXvfb::Focus(HWND hwnd)
{
    XSetInputFocus(probe, XWindowOf(hwnd)->xWindow, RevertToPointerRoot, CurrentTime);
    ASSERT_TRUE(WaitForFocus(probe, XWindowOf(hwnd)->xWindow, 2000));
}

int LayerOnXvfb::CountDelivered(UINT message)
{
    int count = 0;
    for (const Delivered& d : delivered)
        count += d.message == message ? 1 : 0;
    return count;
}
