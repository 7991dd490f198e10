#pragma once
// The browser backend of the platform core: the program's one window is the page's canvas, and
// its events are the page's. This header is what its files share; nothing outside platform/web/
// includes it.
//
// Where the browser backend differs from Windows, beyond what core/windows.h lists:
// - One window, the canvas of the page: it has no frame, so its client area is the canvas, as
//   the page lays it out, in device pixels, and its outer size and position are ignored; the
//   page resizing it sends WM_SIZE. Its caption is the page's title. A second CreateWindowExA
//   fails.
// - One pixel format, the canvas's WebGL surface (RGBA, 24-bit depth in Chromium), whatever the
//   descriptor asks for; ChoosePixelFormat returns 0 when the browser has no WebGL. One OpenGL
//   context, over which <GL/gl.h> of this folder provides the OpenGL 1.1 calls of the program.
//   When the browser takes the WebGL context away, the program runs on without a picture until
//   it gives it back; the page's status line says so when that takes more than three seconds.
// - SwapBuffers returns once the browser has shown the frame, at its next animation frame: the
//   browser shows no more than that, so frames run at most at the display's rate. While the page
//   is hidden the browser gives no animation frames, and the program waits.
// - Keys are the page's: they reach the program while the page has the focus, with the
//   virtual-key codes of DOM keyCode (which are Windows'); no scan codes. Mouse buttons count
//   when pressed on the canvas; a drag goes on outside it.
// - The cursor's screen positions are in CSS pixels.
//   A finger that lands moves the cursor under it at once, and presses the left button only
//   after the next frame, so that the drag starts from where the finger is.
// - MessageBoxA is a modal dialog in the page (caption, error icon, text, OK) whatever the type;
//   OK, Enter and Esc dismiss it with IDOK. Texts are cut at 1365 characters.
// - The process is the page's program: exit codes reach Module.onExit (boulles.html shows them).

#include "platform/core/backend.h"

// --- the canvas's window and its surface (window.cpp, wgl.cpp) ---

// Gives the canvas to `hwnd` unless another window has it: BackendCreateWindow, or
// SetPixelFormat while the window is still being created.
bool ClaimCanvas(HWND hwnd);
// Whether `hwnd` has the canvas or may take it.
bool CanvasFreeFor(HWND hwnd);
// A finger that landed presses the left button once a frame has read the cursor under it
// (BackendPresent, at the end of the frame).
void PressWaitingFinger();
