#pragma once
// The browser backend of the platform core: the program's one window is the page's canvas, and
// its events are the page's. This header holds its one state record and what its files share;
// nothing outside platform/web/ includes it. Its files call one way: the page's events
// (events.cpp), then the canvas as the window (window.cpp), then its drawing surface
// (surface.cpp), which alone calls the OpenGL library (platform/webgl/webgl.h).
//
// Where the browser backend differs from Windows, beyond what core/windows.h lists:
// - One window, the canvas of the page: it has no frame, so its client area is the canvas, as
//   the page lays it out, in device pixels, and its outer size and position are ignored; the
//   page resizing it sends WM_SIZE. Its caption is the page's title. A second CreateWindowExA
//   fails.
// - One pixel format, the canvas's WebGL surface (RGBA, 24-bit depth in Chromium), whatever the
//   descriptor asks for; ChoosePixelFormat returns 0 when the browser has no WebGL. One OpenGL
//   context, over which <GL/gl.h> of platform/webgl/ provides the OpenGL 1.1 calls of the program.
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

// The backend's one state record, the canvas's window's `native`.
struct WebState {
    HWND canvasWindow;  // null while no window has the canvas
    int canvasWidth;    // device pixels, as the page last laid the canvas out
    int canvasHeight;
    bool fingerWaiting;  // a finger is down, its press waits for a frame to read the cursor
    POINT finger;        // screen pixels, where it landed
    bool contextInUse;   // WebGL gives the canvas one context
    long framesPresented;
};

extern WebState web;  // NOLINT(bugprone-dynamic-static-initializers): zero, in window.cpp

// --- the drawing surface (surface.cpp), what window.cpp calls ---

// Gives the canvas to `hwnd` unless another window has it: BackendCreateWindow, or
// SetPixelFormat while the window is still being created.
bool ClaimCanvas(HWND hwnd);
// Draws what OpenGL still holds, before the program gives the browser its turn, so that
// nothing waits while the browser may take the context away.
void FlushSurface();
