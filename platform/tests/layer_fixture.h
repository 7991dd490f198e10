#pragma once
// Tests of the layer over any backend: messages reaching the test window's procedure are
// recorded in order, and every test ends with ClosePlatform, so that the next starts afresh.

// gtest first: Xlib's None and Bool macros would break its templates.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/core/backend.h"

#include <vector>

struct Delivered {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool duringCreation;
};

class LayerTest : public ::testing::Test {
protected:
    static const char* const CLASS_NAME;

    LayerTest();
    void TearDown() override;

    // Registers the test class (once) and creates a window of it.
    HWND CreateTestWindow(const char* caption = "Test window", DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    static int CountDelivered(UINT message);

public:
    static std::vector<Delivered> delivered;
    static bool creating;
    static void (*onCreate)(HWND);  // what WM_CREATE does besides being recorded
};
