#pragma once
// Tests of the X11 backend against a real X server: every test starts its own Xvfb, points the
// layer at it, and watches from a second connection (`probe`).

#include "platform/tests/layer_fixture.h"

#include "platform/x11/x11_state.h"
#include "tests/support/xvfb_server.h"

#include <string>
#include <vector>

class LayerOnXvfb : public LayerTest {
protected:
    void SetUp() override { StartServer({}); }
    void TearDown() override;

    void StartServer(const std::vector<std::string>& extraArguments);
    // Fetches and dispatches messages until `done` holds; a 10 ms timer on `hwnd` keeps the loop
    // waking. False when the loop fails or a minute passes, which only a hang takes.
    bool PumpUntil(HWND hwnd, bool (*done)());
    // Gives `hwnd` the keyboard focus from the probe and waits until the server has done it.
    void Focus(HWND hwnd);

    XvfbServer server;
    Display* probe = nullptr;
};
