#include "platform/tests/layer_fixture.h"

namespace {

LRESULT CALLBACK RecordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LayerTest::delivered.push_back(Delivered{message, wParam, lParam, LayerTest::creating});
    if (message == WM_CREATE && LayerTest::onCreate)
        LayerTest::onCreate(hwnd);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

const char* const LayerTest::CLASS_NAME = "Test class";
std::vector<Delivered> LayerTest::delivered;
bool LayerTest::creating = false;
void (*LayerTest::onCreate)(HWND) = nullptr;

LayerTest::LayerTest()
{
    delivered.clear();
    onCreate = nullptr;
}

void LayerTest::TearDown()
{
    ClosePlatform();
}

HWND LayerTest::CreateTestWindow(const char* caption, DWORD style)
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

int LayerTest::CountDelivered(UINT message)
{
    int count = 0;
    for (const Delivered& d : delivered)
        count += d.message == message ? 1 : 0;
    return count;
}
