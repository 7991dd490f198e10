#pragma once
// Tests of the layer against a real X server: every test starts its own Xvfb, points the layer at
// it, and watches from a second connection (`probe`). Messages reaching the test window's
// procedure are recorded in order.

// gtest first: Xlib's None and Bool macros would break its templates.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/x11/x11_state.h"
#include "tests/support/xvfb_server.h"

#include <string>
#include <vector>

struct Delivered {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool duringCreation;
};

class LayerOnXvfb : public ::testing::Test {
protected:
    static const char* const CLASS_NAME;

    void SetUp() override { StartServer({}); }
    void TearDown() override;

    void StartServer(const std::vector<std::string>& extraArguments);
    // Registers the test class (once) and creates a window of it.
    HWND CreateTestWindow(const char* caption = "Test window", DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    // Fetches and dispatches messages until `done` holds or the time is up; a 10 ms timer on
    // `hwnd` keeps the loop waking. True when `done` held.
    bool PumpUntil(HWND hwnd, bool (*done)(), int timeoutMs = 3000);
    // Gives `hwnd` the keyboard focus from the probe and waits until the server has done it.
    void Focus(HWND hwnd);
    static int CountDelivered(UINT message);

    XvfbServer server;
    Display* probe = nullptr;

public:
    static std::vector<Delivered> delivered;
    static bool creating;
    static void (*onCreate)(HWND);  // what WM_CREATE does besides being recorded
};
