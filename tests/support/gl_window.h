#pragma once
// A window with the demo's OpenGL surface (pixel format, capabilities,
// projection) and its context made current, for tests and benchmarks that draw
// outside the demo's own frame loop. Needs a display.

#include <windows.h>

// The window's device context, or null when the window cannot be created.
HDC OpenGlWindow(int width, int height);
