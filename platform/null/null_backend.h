#pragma once
// The backend without a window system, for the core's own tests: a window is only the core's
// record, and the test plays the window system. What the system receives (keys, sizes, a lost
// focus: the core calls a backend's handlers make) the test hands over with NullReceive, and the
// core gets it at its next drain of events, as far as its queue has room. The clock stands still until it is moved: by the
// test, or by the core's wait, which jumps to its deadline, since nothing could arrive meanwhile.
// So timers tick at exact times, however fast the machine is.
//
// Where the null backend differs from Windows, beyond what core/windows.h lists:
// - GetMessageA returns -1 when it would wait with no timer and nothing received: no event could
//   ever arrive.
// - No pixel format, hence no OpenGL context and nothing to present.
// - MessageBoxA writes its caption and text (UTF-8) to standard error and returns IDOK at once.

#include "platform/core/backend.h"

// Hands `deliver` (called with `hwnd`) to the core at a drain with room in its queue, after what
// was received before; false when too much is waiting.
bool NullReceive(void (*deliver)(HWND), HWND hwnd);
// Moves the clock on.
void NullAdvanceClock(int64_t nanoseconds);
// The frame around windows created from now on, in total width and height: their client area is
// the outer size less the frame.
void NullSetFrame(int width, int height);
