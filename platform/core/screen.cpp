// The pointer's shape and the screen's resolution, which every backend leaves to the window
// system: the calls answer as Windows would, and change nothing.

#include "platform/core/backend.h"

struct HICON__ {};

namespace {

HICON__ arrowCursor;
HCURSOR currentCursor = nullptr;

}  // namespace

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    return instance == nullptr && cursorName == IDC_ARROW ? &arrowCursor : nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor)
{
    const HCURSOR previous = currentCursor;
    currentCursor = cursor;
    return previous;
}

UINT WINAPI GetDpiForSystem()
{
    return 96;
}
