// Window classes and window records: what a window is to the program, whatever shows it.

#include "platform/core/core_state.h"

#include <strings.h>

CoreState core;

namespace {

const ATOM FIRST_CLASS_ATOM = 0xC000;  // where Windows numbers registered classes from

const WindowClass* FindClass(const char* name)
{
    for (int i = 0; i < core.classCount; ++i)
        if (strcasecmp(core.classes[i].name, name) == 0)  // class names ignore case on Windows
            return &core.classes[i];
    return nullptr;
}

void CopyText(char* out, size_t outSize, const char* text)
{
    size_t used = 0;
    for (; text && text[used] && used + 1 < outSize; ++used)
        out[used] = text[used];
    out[used] = '\0';
}

HWND NewWindowRecord()
{
    for (HWND__& window : core.windows)
        if (!window.inUse) {
            window = HWND__{};
            window.inUse = true;
            window.deviceContext.window = &window;
            return &window;
        }
    return nullptr;
}

// The one place that writes a window's client size.
void SetClientSize(HWND hwnd, int width, int height)
{
    hwnd->clientWidth = width;
    hwnd->clientHeight = height;
}

void SendSize(HWND hwnd, WPARAM kind, int width, int height)
{
    SetClientSize(hwnd, width, height);
    SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(width, height));
}

}  // namespace

bool OpenBackend()
{
    if (core.backend == BackendState::CLOSED)
        core.backend = BackendOpen() ? BackendState::OPEN : BackendState::FAILED;
    return core.backend == BackendState::OPEN;
}

HWND LiveWindow(HWND hwnd)
{
    for (HWND__& window : core.windows)
        if (hwnd == &window && window.inUse)
            return hwnd;
    return nullptr;
}

void ClosePlatform()
{
    if (core.backend == BackendState::OPEN) {
        ForgetContexts();
        BackendClose();
    }
    core = CoreState{};
}

// --- size changes reported by the backend ---

void CoreClientSized(HWND hwnd, int width, int height)
{
    if (!hwnd->created)
        SetClientSize(hwnd, width, height);
    else if (!hwnd->minimized && (width != hwnd->clientWidth || height != hwnd->clientHeight))
        SendSize(hwnd, SIZE_RESTORED, width, height);
}

// Win32 reports minimising as a client size of 0 by 0.
void CoreMinimized(HWND hwnd)
{
    if (hwnd->minimized)
        return;
    hwnd->minimized = true;
    SendMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
}

void CoreRestored(HWND hwnd, int width, int height)
{
    if (!hwnd->minimized)
        return;
    hwnd->minimized = false;
    SendSize(hwnd, SIZE_RESTORED, width, height);
}

// --- window classes ---

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc ||
        core.classCount == MAX_CLASSES || FindClass(windowClass->lpszClassName))
        return 0;
    WindowClass& added = core.classes[core.classCount];
    CopyText(added.name, sizeof added.name, windowClass->lpszClassName);
    added.procedure = windowClass->lpfnWndProc;
    return (ATOM)(FIRST_CLASS_ATOM + core.classCount++);
}

// --- window creation ---

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param)
{
    const WindowClass* windowClass = className ? FindClass(className) : nullptr;
    if (!windowClass || !OpenBackend())
        return nullptr;
    HWND hwnd = NewWindowRecord();
    if (!hwnd)
        return nullptr;
    hwnd->procedure = windowClass->procedure;
    hwnd->x = x;
    hwnd->y = y;
    hwnd->width = width > 1 ? width : 1;
    hwnd->height = height > 1 ? height : 1;
    SetClientSize(hwnd, hwnd->width, hwnd->height);  // until the backend knows the frame
    CopyText(hwnd->caption, sizeof hwnd->caption, windowName);
    CopyText(hwnd->className, sizeof hwnd->className, windowClass->name);

    CREATESTRUCTA create = {param, instance, menu, parent, height, width, y, x, (LONG)style,
                            windowName, className, exStyle};
    const bool refused = hwnd->procedure(hwnd, WM_CREATE, 0, (LPARAM)&create) == -1;
    if (refused || !BackendCreateWindow(hwnd)) {
        BackendDestroyWindow(hwnd);
        *hwnd = HWND__{};
        return nullptr;
    }
    hwnd->created = true;
    hwnd->procedure(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(hwnd->clientWidth, hwnd->clientHeight));
    if (style & WS_VISIBLE)
        BackendShowWindow(hwnd);
    return hwnd;
}

// --- messages to one window ---

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd || !hwnd->inUse)
        return 0;
    return hwnd->procedure(hwnd, message, wParam, lParam);
}

// --- device contexts ---

HDC WINAPI GetDC(HWND hwnd)
{
    return hwnd && hwnd->inUse ? &hwnd->deviceContext : nullptr;
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc)
{
    return hwnd && hdc && hdc->window == hwnd ? 1 : 0;
}

HWND WINAPI WindowFromDC(HDC hdc)
{
    return hdc ? hdc->window : nullptr;
}
