#include "tests/support/gl_window.h"

#include "gl/surface.h"

namespace {

const char CLASS_NAME[] = "OpenGL test window";

HDC deviceContext;

LRESULT CALLBACK GlWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        deviceContext = GetDC(hwnd);
        SetupPixelFormat(deviceContext);
        wglMakeCurrent(deviceContext, wglCreateContext(deviceContext));
        InitGL();
    } else if (message == WM_SIZE) {
        ResizeScene(LOWORD(lParam), HIWORD(lParam));
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HDC OpenGlWindow(int width, int height)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = GlWindowProc;
    windowClass.hInstance = (HINSTANCE)1;
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    deviceContext = NULL;
    const HWND window = CreateWindowExA(0, CLASS_NAME, CLASS_NAME, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        0, 0, width, height, NULL, NULL, windowClass.hInstance,
                                        NULL);
    return window != NULL ? deviceContext : NULL;
}
