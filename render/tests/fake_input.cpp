#include "render/tests/fake_input.h"

FakeInput fakeInput;

void ResetFakeInput()
{
    fakeInput = FakeInput{};
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    // Windows reports a held key as 0xFF80: more bits than bit 15 are set.
    return virtualKey >= 0 && virtualKey < 256 && fakeInput.down[virtualKey] ? (SHORT)0xFF80 : 0;
}

BOOL WINAPI GetCursorPos(POINT* point)
{
    ++fakeInput.cursorReadings;
    *point = fakeInput.cursor;
    return TRUE;
}
