#pragma once
// What the core and a backend owe each other. The core (this folder) holds what every system
// shares: window classes and window records, the thread's message queue and its timers, the
// key-state table and the Windows-1252 texts. A backend (platform/x11/, platform/web/,
// platform/null/) turns its own events into the core calls below and defines every function of
// the list that follows. The core never learns which backend it runs on; the build links exactly one.

#include "platform/core/windows.h"

// --- records shared by the core and a backend ---

const int MAX_WINDOWS = 8;

struct HDC__ {
    HWND window;
};

// One window as the program sees it; a backend keeps its native part in records of its own.
// The core writes these fields; a backend reads them.
struct HWND__ {
    bool inUse;
    bool created;  // CreateWindowExA has sent its WM_SIZE
    WNDPROC procedure;
    int x, y, width, height;        // outer rectangle as asked for
    int clientWidth, clientHeight;  // as last sent in WM_SIZE, or to be sent by creation's
    bool minimized;
    char caption[256];
    char className[256];
    HDC__ deviceContext;
};

// --- what a backend provides ---

const int64_t NO_DEADLINE = -1;

// Connects to the window system on first use; false, after one line on standard error, when it
// cannot. CreateWindowExA calls it first.
bool BackendOpen();
// Called by CreateWindowExA after WM_CREATE: makes the native window unless SetPixelFormat has
// already made it, reports the client size (CoreClientSized) where it is not the outer size, and
// leaves the window hidden. False when the window system refuses.
bool BackendCreateWindow(HWND hwnd);
// Shows the window (WS_VISIBLE at creation).
void BackendShowWindow(HWND hwnd);
// Frees the native part of a window whose creation failed.
void BackendDestroyWindow(HWND hwnd);
// Turns every event already received into core calls, without waiting.
void BackendDrainEvents();
// Waits until an event may have arrived or `deadline` (a BackendNow time, or NO_DEADLINE) has
// passed. False at once when nothing could ever arrive.
bool BackendWaitForEvents(int64_t deadline);
// The one monotonic clock of timers and message times, in nanoseconds.
int64_t BackendNow();
// Destroys every native window and context and closes the connection; ClosePlatform calls it
// before the core forgets its own records.
void BackendClose();

// The Win32 calls of the drawing surface, the message box and the cursor, as windows.h declares
// them: the core has no part in them.
extern "C" {
// NOLINTBEGIN(readability-redundant-declaration): the contract names them once more, together
int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
HGLRC WINAPI wglCreateContext(HDC hdc);
BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context);
BOOL WINAPI wglDeleteContext(HGLRC context);
BOOL WINAPI SwapBuffers(HDC hdc);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL WINAPI GetCursorPos(POINT* point);
// NOLINTEND(readability-redundant-declaration)
}

// --- what the core provides to a backend ---

// The system's monotonic clock, for backends whose time is the real one (BackendNow).
int64_t MonotonicClock();
// Appends a message to the thread's queue; false when the queue is full.
bool CorePostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// A key went down or up: updates GetKeyState and posts WM_KEYDOWN or WM_KEYUP. Pressing a key
// that is already down is an auto-repeat. `character` is the Windows-1252 character the press
// types (0: none); TranslateMessage of that WM_KEYDOWN posts it as WM_CHAR, fetched before
// anything queued after the key-down, as on Windows. A key that GetKeyState does not know (0
// included) posts no key message, only its character, as WM_CHAR.
void CoreKeyChanged(HWND hwnd, int virtualKey, unsigned scanCode, bool pressed,
                    unsigned char character);
// The wheel (or a gesture standing for it) turned by `delta`, in WHEEL_DELTA units per notch,
// positive away from the user (zoom in); parts of a notch allowed. Posts WM_MOUSEWHEEL with
// GET_WHEEL_DELTA_WPARAM = delta and the cursor's screen position in lParam.
void CoreWheelTurned(HWND hwnd, int delta, int screenX, int screenY);
// A character typed without a key (an on-page control): posts WM_CHAR.
void CoreCharTyped(HWND hwnd, unsigned char character);
// A mouse button (VK_LBUTTON, VK_MBUTTON, VK_RBUTTON) went down or up; no message.
void CoreButtonChanged(int virtualKey, bool pressed);
// Releases that happen while the window lacks the focus never reach it: nothing may stay down.
void CoreReleaseAllKeys();
// The window's client area now has this size: WM_SIZE when it changed and the window is not
// minimised. During creation the size is kept for creation's own WM_SIZE.
void CoreClientSized(HWND hwnd, int width, int height);
// The window was minimised (WM_SIZE SIZE_MINIMIZED, 0 by 0) or restored with this client size.
void CoreMinimized(HWND hwnd);
void CoreRestored(HWND hwnd, int width, int height);
// Closes the backend (BackendClose) and forgets every class, window, message, timer and key, so
// that the process can start again.
void ClosePlatform();

// Windows-1252 to UTF-8 and to ISO 8859-1 (characters that have no Latin-1 form become '?');
// the output stops at `outSize` without splitting a character.
void Cp1252ToUtf8(const char* text, char* out, size_t outSize);
void Cp1252ToLatin1(const char* text, char* out, size_t outSize);
unsigned Cp1252ToCodePoint(unsigned char c);
// The Windows-1252 byte of a Unicode character; 0 when it has none.
unsigned char CodePointToCp1252(unsigned codePoint);
