// The drawing surface and the message box: the Win32 rules, kept here once, over the backend's
// narrow hooks.

#include "platform/core/core_state.h"

namespace {

// The window of a device context that is one of the live windows'; null for a stale or
// foreign one, which is never dereferenced.
HWND WindowOfDc(HDC hdc)
{
    for (HWND__& window : core.windows)
        if (hdc == &window.deviceContext && window.inUse)
            return &window;
    return nullptr;
}

HWND WindowWithFormat(HDC hdc)
{
    HWND hwnd = WindowOfDc(hdc);
    return hwnd && hwnd->pixelFormat != 0 ? hwnd : nullptr;
}

// A handle handed out and not yet deleted; null for a stale or foreign one.
HGLRC LiveContext(HGLRC context)
{
    for (HGLRC__& slot : core.contexts)
        if (context == &slot && slot.native)
            return context;
    return nullptr;
}

HGLRC FreeContextSlot()
{
    for (HGLRC__& slot : core.contexts)
        if (!slot.native)
            return &slot;
    return nullptr;
}

bool MakeNoneCurrent()
{
    core.current = nullptr;
    return core.backend != BackendState::OPEN || BackendMakeCurrent(nullptr, nullptr);
}

void DeleteContext(HGLRC context)
{
    if (context == core.current)
        MakeNoneCurrent();
    BackendDeleteContext(context->native);
    *context = HGLRC__{};
}

}  // namespace

void ForgetContexts()
{
    MakeNoneCurrent();
    for (HGLRC__& slot : core.contexts)
        if (slot.native)
            DeleteContext(&slot);
}

// --- pixel formats ---

int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    HWND hwnd = WindowOfDc(hdc);
    return hwnd && descriptor ? BackendChoosePixelFormat(hwnd, *descriptor) : 0;
}

// As on Windows, a window's pixel format is set once.
BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR*)
{
    HWND hwnd = WindowOfDc(hdc);
    if (!hwnd || hwnd->pixelFormat != 0 || format < 1 || !BackendSetPixelFormat(hwnd, format))
        return FALSE;
    hwnd->pixelFormat = format;
    return TRUE;
}

// --- rendering contexts ---

HGLRC WINAPI wglCreateContext(HDC hdc)
{
    HWND hwnd = WindowWithFormat(hdc);
    HGLRC slot = FreeContextSlot();
    if (!hwnd || !slot)
        return nullptr;
    slot->native = BackendCreateContext(hwnd);
    return slot->native ? slot : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context)
        return MakeNoneCurrent() ? TRUE : FALSE;
    HWND hwnd = WindowWithFormat(hdc);
    if (!LiveContext(context) || !hwnd || !BackendMakeCurrent(hwnd, context->native))
        return FALSE;
    core.current = context;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    if (!LiveContext(context))
        return FALSE;
    DeleteContext(context);
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC hdc)
{
    HWND hwnd = WindowWithFormat(hdc);
    if (!hwnd)
        return FALSE;
    BackendPresent(hwnd);
    return TRUE;
}

// --- message box ---

// MB_OK with the error icon, whatever the type asks for: the one box the program shows.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT)
{
    if (!OpenBackend())
        return 0;
    BackendMessageBox(LiveWindow(owner), text ? text : "", caption ? caption : "Error");
    return IDOK;
}
