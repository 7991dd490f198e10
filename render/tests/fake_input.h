#pragma once
// A link-time stand-in for the platform's GetKeyState and GetCursorPos: tests set what is held and
// where the cursor is, and count the cursor readings.

#include <windows.h>

struct FakeInput {
    bool down[256];
    POINT cursor;
    int cursorReadings;
};

extern FakeInput fakeInput;

void ResetFakeInput();
