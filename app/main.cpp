// Entry point, main window and frame loop: every timer tick draws the scene,
// reads the input, steps the simulation and presents the picture.

#include "gl/surface.h"
#include "render/camera.h"
#include "render/scene.h"
#include "sim/balls.h"
#include "sim/step.h"

#include <windows.h>

#include <cstdlib>

HINSTANCE instanceHandle;
HDC deviceContext;
HGLRC renderingContext;

const UINT_PTR FRAME_TIMER_ID = 10;

static const char WINDOW_CLASS_NAME[] = "La classe!";
static const char WINDOW_CAPTION[] = "De belles boulles bleus";
// The outer size in logical pixels, 1/96 inch: the manifest makes the program DPI-aware, so
// Windows leaves the scaling to it (960 by 720 pixels at 144 DPI) and does not stretch it blurry.
const int WINDOW_WIDTH = 640;
const int WINDOW_HEIGHT = 480;
const int LOGICAL_DPI = 96;

static int ScaledForScreen(int logicalPixels)
{
    return (int)(((long long)logicalPixels * GetDpiForSystem() + LOGICAL_DPI / 2) / LOGICAL_DPI);
}

static void CreateSurface(HWND hwnd)
{
    deviceContext = GetDC(hwnd);
    SetupPixelFormat(deviceContext);
    renderingContext = wglCreateContext(deviceContext);
    // Without a context nothing could ever be drawn: as bad as a missing pixel format.
    if (renderingContext == NULL)
        ExitUnsupportedGraphicsMode(deviceContext);
    wglMakeCurrent(deviceContext, renderingContext);
    InitGL();
}

static void ReleaseSurface(HWND hwnd)
{
    wglMakeCurrent(NULL, NULL);
    if (renderingContext != NULL)
        wglDeleteContext(renderingContext);
    ReleaseDC(hwnd, deviceContext);
}

// The picture presented shows the state from the start of the tick.
static void RunFrame()
{
    DrawScene();
    HandleInput();
    StepSimulation();
    SwapBuffers(deviceContext);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateSurface(hwnd);
        return 0;
    case WM_SIZE:
        ResizeScene(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        // The window itself goes away with the process.
        ReleaseSurface(hwnd);
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CHAR:
        CharacterTyped(wParam);
        return 0;
    case WM_SETCURSOR:
        // The class has no cursor, so the client area sets the arrow, or the pointer would keep
        // the shape it came in with, such as the border's resize arrows.
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorA(NULL, IDC_ARROW));
            return TRUE;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_MOUSEWHEEL:
        WheelTurned(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_TIMER:
        RunFrame();
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    instanceHandle = hInstance;

    WNDCLASSA windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = WndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = NULL;
    windowClass.hCursor = NULL;
    windowClass.hbrBackground = NULL;
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = WINDOW_CLASS_NAME;
    if (RegisterClassA(&windowClass) == 0)
        std::exit(1);

    const HWND window = CreateWindowExA(0, WINDOW_CLASS_NAME, WINDOW_CAPTION,
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                        ScaledForScreen(WINDOW_WIDTH),
                                        ScaledForScreen(WINDOW_HEIGHT), NULL, NULL,
                                        instanceHandle, NULL);
    if (window == NULL)
        std::exit(1);

    SetTimer(window, FRAME_TIMER_ID, 0, NULL);
    InitBalls();

    // -1 (a failed fetch) ends the loop like the quit message.
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) == 1) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
