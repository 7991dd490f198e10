#pragma once
// The OpenGL surface of the main window: pixel format, capabilities, projection.

#include <windows.h>

// What SetupPixelFormat asks for: double-buffered RGBA with a depth buffer.
PIXELFORMATDESCRIPTOR PixelFormatRequest();

// Sets the requested pixel format on the device context, or tells the user and
// ends the process with exit code 1.
void SetupPixelFormat(HDC deviceContext);

// Shows the error box saying the graphics mode is not supported, owned by the
// device context's window, and ends the process with exit code 1.
void ExitUnsupportedGraphicsMode(HDC deviceContext);

// Switches on depth testing and lighting; needs a current rendering context.
void InitGL();

// Viewport over the whole client area, 45-degree perspective projection.
void ResizeScene(int width, int height);
