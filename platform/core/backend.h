#pragma once
// What the core and a backend owe each other. The core (this folder) holds what every system
// shares: window classes and window records, the thread's message queue and its timers, the
// key-state table and the cursor, the rules of device contexts, pixel formats, OpenGL contexts
// and the message box, and the Windows-1252 texts. A backend (platform/x11/, platform/web/,
// platform/null/) turns its own events into the core calls below and defines every function of
// the list that follows. The core never learns which backend it runs on: the build links
// exactly one, or several behind a table each (below).

#include "platform/core/windows.h"

// --- records shared by the core and a backend ---

const int MAX_WINDOWS = 8;

struct HDC__ {
    HWND window;
};

// One window as the program sees it. The core writes these fields, but for `native`, and a
// backend reads them.
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
    int pixelFormat;  // 0 until SetPixelFormat has set one
    void* native;     // the backend's own record of the window; null until the backend sets it
};

// --- what a backend provides ---

const int64_t NO_DEADLINE = -1;

// Connects to the window system; false, after one line on standard error, when it cannot. The
// core calls it once, before the first window or message box, and not again until ClosePlatform.
bool BackendOpen();
// Called by CreateWindowExA after WM_CREATE: makes the native window unless SetPixelFormat has
// already made it, reports the client size (CoreClientSized) where it is not the outer size, and
// leaves the window hidden. False when the window system refuses.
bool BackendCreateWindow(HWND hwnd);
// Shows the window (WS_VISIBLE at creation).
void BackendShowWindow(HWND hwnd);
// Frees the native part of a window whose creation failed (`native` may still be null).
void BackendDestroyWindow(HWND hwnd);
// Turns every event already received into core calls, without waiting.
void BackendDrainEvents();
// Waits until an event may have arrived or `deadline` (a BackendNow time, or NO_DEADLINE) has
// passed. False at once when nothing could ever arrive.
bool BackendWaitForEvents(int64_t deadline);
// The one monotonic clock of timers and message times, in nanoseconds.
int64_t BackendNow();
// Destroys every native window and closes the connection; ClosePlatform calls it, after deleting
// every OpenGL context, before the core forgets its own records.
void BackendClose();

// The drawing surface. The core has checked the device context (a stale or foreign one never
// gets here), and it keeps the rules: a window's pixel format is set once, a context is asked
// for only on a window with a pixel format, and context handles are the core's own, so that a
// stale or foreign one is refused before it reaches the backend.
// The 1-based index of the format that best matches `wanted`; 0 when none does (no OpenGL at
// all included).
int BackendChoosePixelFormat(HWND hwnd, const PIXELFORMATDESCRIPTOR& wanted);
// Makes the window's drawing surface with `format`; the window has none yet. False when
// `format` names none or the window system refuses.
bool BackendSetPixelFormat(HWND hwnd, int format);
// A context for the window's surface; null when refused.
void* BackendCreateContext(HWND hwnd);
// Makes `context` current on the window's surface; both null: none current. The core makes
// none current before deleting the current context.
bool BackendMakeCurrent(HWND hwnd, void* context);
void BackendDeleteContext(void* context);
// Presents the back buffer; never blocks on a hidden or minimised window.
void BackendPresent(HWND hwnd);

// Shows a modal box with `text` and `caption` (Windows-1252, never null: the core gives "" for a
// null text and "Error" for a null caption, as Windows does) and the error icon, owned by
// `owner` (a live window, or null), and returns when the user dismisses it.
void BackendMessageBox(HWND owner, const char* text, const char* caption);

// --- backends chosen at run time ---

// Where one build carries several backends (Linux: Wayland, then X11), each fills one of these
// with its own functions, and core/backends.cpp defines the Backend* functions above over the
// first one in the list whose `open` connects; before that, and after BackendClose, over the
// last. A backend's `open` that fails quietly leaves the next one to try; the last prints why.
struct BackendFunctions {
    bool (*open)();
    bool (*createWindow)(HWND hwnd);
    void (*showWindow)(HWND hwnd);
    void (*destroyWindow)(HWND hwnd);
    void (*drainEvents)();
    bool (*waitForEvents)(int64_t deadline);
    int64_t (*now)();
    void (*close)();
    int (*choosePixelFormat)(HWND hwnd, const PIXELFORMATDESCRIPTOR& wanted);
    bool (*setPixelFormat)(HWND hwnd, int format);
    void* (*createContext)(HWND hwnd);
    bool (*makeCurrent)(HWND hwnd, void* context);
    void (*deleteContext)(void* context);
    void (*present)(HWND hwnd);
    void (*messageBox)(HWND owner, const char* text, const char* caption);
};

// Each is defined in its backend from the functions' addresses alone: constant-initialised.
// NOLINTBEGIN(bugprone-dynamic-static-initializers)
extern const BackendFunctions WAYLAND_BACKEND;
extern const BackendFunctions X11_BACKEND;
// NOLINTEND(bugprone-dynamic-static-initializers)

// --- what the core provides to a backend ---

// The system's monotonic clock, for backends whose time is the real one (BackendNow).
int64_t MonotonicClock();
// Appends a message to the thread's queue; false when the queue is full.
bool CorePostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Back-pressure: true while the queue has room for one more native event's messages (and, kept
// apart, for the release of every key held). A backend turns no more native events into core
// calls while it is false and leaves them queued where they are, in order; the program's next
// retrieval makes room. So no input is dropped, and no key message is ever lost.
bool CoreHasRoom();
// Every input call below posts a message carrying the cursor (MSG.pt, screen coordinates). The
// key state that GetKeyState reads and the cursor that GetCursorPos reads change when the
// program retrieves that message (GetMessageA), as on Windows, so both tell of the same moment.
// A key went down or up: posts WM_KEYDOWN or WM_KEYUP. Pressing a key that is already down is
// an auto-repeat. `character` is the Windows-1252 character the press types (0: none);
// TranslateMessage of that WM_KEYDOWN posts it as WM_CHAR, fetched before anything queued after
// the key-down, as on Windows. A key that GetKeyState does not know (0 included) posts no key
// message, only its character, as WM_CHAR.
void CoreKeyChanged(HWND hwnd, int virtualKey, unsigned scanCode, bool pressed,
                    unsigned char character);
// The wheel (or a gesture standing for it) turned by `delta`, in WHEEL_DELTA units per notch,
// positive away from the user (zoom in); parts of a notch allowed. Posts WM_MOUSEWHEEL with
// GET_WHEEL_DELTA_WPARAM = delta and the cursor's screen position in lParam; a run of turns with
// nothing queued between adds up into the last one.
void CoreWheelTurned(HWND hwnd, int delta, int screenX, int screenY);
// A character typed without a key (an on-page control): posts WM_CHAR.
void CoreCharTyped(HWND hwnd, unsigned char character);
// A mouse button (VK_LBUTTON, VK_MBUTTON, VK_RBUTTON) went down or up at this screen position:
// posts WM_LBUTTONDOWN / WM_LBUTTONUP (M, R) with the position in lParam.
void CoreButtonChanged(HWND hwnd, int virtualKey, bool pressed, int screenX, int screenY);
// The pointer moved, in screen coordinates (a backend without window positions passes window
// coordinates: its windows are at 0,0): posts WM_MOUSEMOVE with the position in lParam; a run
// of moves with nothing queued between merges into the last one.
void CorePointerMoved(HWND hwnd, int screenX, int screenY);
// The window (re)gained the keyboard or the pointer, and the window system says which keys and
// buttons are down now (virtual-key codes): every one the core holds down that is not listed is
// released, by a WM_KEYUP or button-up message, since its release went elsewhere.
void CoreKeysDownAre(HWND hwnd, const int* virtualKeys, int count);
// Releases that happen while the window lacks the focus never reach it: releases everything.
void CoreReleaseAllKeys();
// The window's client area now has this size: WM_SIZE when it changed and the window is not
// minimised. During creation the size is kept for creation's own WM_SIZE.
void CoreClientSized(HWND hwnd, int width, int height);
// The window was minimised (WM_SIZE SIZE_MINIMIZED, 0 by 0) or restored with this client size.
void CoreMinimized(HWND hwnd);
void CoreRestored(HWND hwnd, int width, int height);
// Deletes every OpenGL context, closes the backend (BackendClose) and forgets every class,
// window, message, timer and key, so that the process can start again.
void ClosePlatform();

// Windows-1252 to UTF-8 and to ISO 8859-1 (characters that have no Latin-1 form become '?');
// the output stops at `outSize` without splitting a character.
void Cp1252ToUtf8(const char* text, char* out, size_t outSize);
void Cp1252ToLatin1(const char* text, char* out, size_t outSize);
unsigned Cp1252ToCodePoint(unsigned char c);
// The Windows-1252 byte of a Unicode character; 0 when it has none.
unsigned char CodePointToCp1252(unsigned codePoint);
