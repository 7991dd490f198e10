// The one window of the page: its canvas, device context, pixel format and OpenGL context, the
// message box, and the page's input as the handlers of page.js report it.

#include "opengl_state.h"
#include "web_state.h"

#include <emscripten.h>

#include <cstring>
#include <strings.h>

extern "C" {
void WebListen();
void WebSetTitle(const char* utf8);
int WebCanvasWidth();
int WebCanvasHeight();
int WebMessageBox(const char* textUtf8, const char* captionUtf8);
int WebGlOpenSurface();
int WebGlCreateContext();
void WebGlMakeCurrent(int current);
void WebGlDeleteContext();
void WebWaitForPresentation();
}

struct HGLRC__ {
    bool inUse;
};

namespace {

const int MAX_CLASSES = 8;
const ATOM FIRST_CLASS_ATOM = 0xC000;  // where Windows numbers registered classes from
const int THE_PIXEL_FORMAT = 1;        // the canvas offers one surface
const size_t TEXT_BYTES = 1024;        // enough for any 256-byte text in UTF-8

struct WindowClass {
    char name[256];
    WNDPROC procedure;
};

WindowClass classes[MAX_CLASSES];
int classCount = 0;
HWND__ theWindow;
bool windowExists = false;
HGLRC__ theContext;
POINT cursor;  // screen pixels, as the page last reported them
long framesPresented = 0;

const WindowClass* FindClass(const char* name)
{
    for (int i = 0; i < classCount; ++i)
        if (strcasecmp(classes[i].name, name) == 0)  // class names ignore case on Windows
            return &classes[i];
    return nullptr;
}

bool IsTheDeviceContext(HDC hdc)
{
    return windowExists && hdc == &theWindow.deviceContext;
}

}  // namespace

// --- windows ---

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc ||
        classCount == MAX_CLASSES || FindClass(windowClass->lpszClassName) ||
        std::strlen(windowClass->lpszClassName) >= sizeof classes[0].name)
        return 0;
    WindowClass& added = classes[classCount];
    std::strcpy(added.name, windowClass->lpszClassName);
    added.procedure = windowClass->lpfnWndProc;
    return (ATOM)(FIRST_CLASS_ATOM + classCount++);
}

// The page has one canvas, so one window; its caption names the page.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param)
{
    const WindowClass* windowClass = className ? FindClass(className) : nullptr;
    if (!windowClass || windowExists)
        return nullptr;
    theWindow = HWND__{windowClass->procedure, {&theWindow}, 0};
    windowExists = true;
    char title[TEXT_BYTES];
    Cp1252ToUtf8(windowName ? windowName : "", title, sizeof title);
    WebSetTitle(title);
    WebListen();

    CREATESTRUCTA create = {param, instance, menu, parent, height, width, y, x, (LONG)style,
                            windowName, className, exStyle};
    if (SendMessageA(&theWindow, WM_CREATE, 0, (LPARAM)&create) == -1) {
        windowExists = false;
        return nullptr;
    }
    // No frame: the client area is the whole canvas.
    SendMessageA(&theWindow, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(WebCanvasWidth(), WebCanvasHeight()));
    return &theWindow;
}

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd != &theWindow || !windowExists)
        return 0;
    return theWindow.procedure(hwnd, message, wParam, lParam);
}

// --- device context and pixel format ---

HDC WINAPI GetDC(HWND hwnd)
{
    return hwnd == &theWindow && windowExists ? &theWindow.deviceContext : nullptr;
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc)
{
    return hwnd == &theWindow && IsTheDeviceContext(hdc) ? 1 : 0;
}

HWND WINAPI WindowFromDC(HDC hdc)
{
    return IsTheDeviceContext(hdc) ? hdc->window : nullptr;
}

// The canvas's WebGL surface, whatever was asked for; 0 when the browser has no WebGL.
int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!IsTheDeviceContext(hdc) || !descriptor || !WebGlOpenSurface())
        return 0;
    return THE_PIXEL_FORMAT;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR*)
{
    if (!IsTheDeviceContext(hdc) || format != THE_PIXEL_FORMAT || !WebGlOpenSurface())
        return FALSE;
    hdc->window->pixelFormat = format;
    return TRUE;
}

// --- OpenGL context ---

HGLRC WINAPI wglCreateContext(HDC hdc)
{
    if (!IsTheDeviceContext(hdc) || hdc->window->pixelFormat == 0 || theContext.inUse ||
        !WebGlCreateContext())
        return nullptr;
    theContext.inUse = true;
    return &theContext;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context) {
        WebGlMakeCurrent(0);
        return TRUE;
    }
    if (context != &theContext || !theContext.inUse || !IsTheDeviceContext(hdc))
        return FALSE;
    WebGlMakeCurrent(1);
    ResendGlState();
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    if (context != &theContext || !theContext.inUse)
        return FALSE;
    WebGlDeleteContext();
    theContext.inUse = false;
    return TRUE;
}

// The browser shows the canvas at its next animation frame; presenting waits for that, as a
// driver that syncs to the display does. A page may count the frames through
// Module.onSwapBuffers(count), which runs before the frame is shown.
BOOL WINAPI SwapBuffers(HDC hdc)
{
    if (!IsTheDeviceContext(hdc))
        return FALSE;
    ++framesPresented;
    EM_ASM({ if (Module['onSwapBuffers']) Module['onSwapBuffers']($0); }, framesPresented);
    WebWaitForPresentation();
    return TRUE;
}

// --- message box ---

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    char textUtf8[TEXT_BYTES];
    char captionUtf8[TEXT_BYTES];
    Cp1252ToUtf8(text ? text : "", textUtf8, sizeof textUtf8);
    Cp1252ToUtf8(caption ? caption : "Error", captionUtf8, sizeof captionUtf8);
    return WebMessageBox(textUtf8, captionUtf8);
}

// --- input ---

BOOL WINAPI GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = cursor;
    return TRUE;
}

// The handlers of page.js.
extern "C" {

EMSCRIPTEN_KEEPALIVE int WebKeyChanged(int virtualKey, int down)
{
    return TrackKey(windowExists ? &theWindow : nullptr, virtualKey, down != 0);
}

EMSCRIPTEN_KEEPALIVE void WebCursorMoved(int x, int y)
{
    cursor = POINT{x, y};
}

EMSCRIPTEN_KEEPALIVE void WebFocusLost()
{
    ReleaseAllKeys();
}

}  // extern "C"
