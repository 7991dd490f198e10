// An ordinary Win32 program that uses only the services the layer provides, written as for
// Windows: it must build against the layer's header unchanged and behave as it does there.
// Exit codes: 0 after Esc or closing the window, 1 when no pixel format can be had (after the
// message box), 2 when the window cannot be made, 3 when WinMain got unexpected arguments,
// 4 when creation did not send WM_CREATE and then WM_SIZE.

#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

static HDC deviceContext;
static HGLRC renderingContext;
static int creationSteps;  // 1 after WM_CREATE, 2 after WM_SIZE

static void SetupPixelFormat(HDC hdc)
{
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 16;
    request.cDepthBits = 32;
    request.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(hdc, &request);
    if (format == 0 || !SetPixelFormat(hdc, format, &request)) {
        MessageBoxA(WindowFromDC(hdc), "Mode graphique non support\xe9.", "Probl\xe8me", MB_ICONERROR);
        exit(1);
    }
}

static LRESULT CALLBACK SampleProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        creationSteps = creationSteps == 0 ? 1 : -1;
        deviceContext = GetDC(hwnd);
        SetupPixelFormat(deviceContext);
        renderingContext = wglCreateContext(deviceContext);
        wglMakeCurrent(deviceContext, renderingContext);
        glEnable(GL_DEPTH_TEST);
        return 0;
    case WM_SIZE:
        creationSteps = creationSteps == 1 ? 2 : creationSteps;
        glViewport(0, 0, LOWORD(lParam), HIWORD(lParam));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, (double)LOWORD(lParam) / (double)HIWORD(lParam), 1.0, 1000000.0);
        return 0;
    case WM_TIMER:
        glClearColor(0.0f, 0.0f, 0.5f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SwapBuffers(deviceContext);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CLOSE:
        wglMakeCurrent(NULL, NULL);
        if (renderingContext)
            wglDeleteContext(renderingContext);
        ReleaseDC(hwnd, deviceContext);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    (void)showCommand;
    if (!instance || previousInstance || !commandLine || commandLine[0] != '\0')
        return 3;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SampleProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "Win32 sample";
    if (!RegisterClassA(&windowClass))
        return 2;
    HWND window = CreateWindowExA(0, "Win32 sample", "Win32 sample", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 640, 480, NULL, NULL, instance, NULL);
    if (!window)
        return 2;
    if (creationSteps != 2)
        return 4;
    SetTimer(window, 10, 0, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) == 1) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
