#pragma once
// What the parts of the X11 layer share: the connection, the window records and the hand-offs
// between window, message queue, input state and OpenGL. Nothing outside platform/ includes it,
// except the layer's own tests.

#include <windows.h>

#include <GL/glx.h>
#include <X11/Xlib.h>

struct HDC__ {
    HWND window;
};

struct HWND__ {
    bool inUse;
    WNDPROC procedure;
    DWORD style;
    int x, y, width, height;  // outer rectangle as asked for
    int clientWidth, clientHeight;
    char caption[256];
    char className[256];
    Window xWindow;  // None until the visual is known
    Colormap colormap;
    int pixelFormat;  // 0 until SetPixelFormat
    GLXFBConfig framebufferConfig;
    bool swapIntervalSet;
    bool minimized;
    HDC__ deviceContext;
};

// --- connection (display.cpp) ---

// The connection, opened on first need; null when the display cannot be opened (one line said so).
Display* OpenedDisplay();
// The connection if already open, else null; never prints.
Display* CurrentDisplay();
// Runs `call` and tells whether the server answered with an error, instead of ending the process.
bool FailsWithXError(void (*call)(void*), void* context);
Atom InternAtom(const char* name);

// Forgets every window, class, message, timer, key and context and closes the connection, so the
// process can go on against another X server (the layer's tests do).
void ClosePlatform();
void ForgetAllContexts();

// --- windows (window.cpp) ---

HWND FindWindowOfX(Window xWindow);
// Creates the X window of `hwnd` with the given visual (or replaces it); false when the server refuses.
bool CreateXWindow(HWND hwnd, Visual* visual, int depth);
void ForgetAllWindows();
void ForgetAllClasses();

// --- message queue (message_queue.cpp) ---

bool PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void ForgetQueueAndTimers();

// --- input state (input.cpp) ---

// Updates the key and button state from one X event; true when the event was an input event.
bool TrackInputEvent(HWND hwnd, const XEvent& event);
void ReleaseAllKeys();

// --- text (text.cpp) ---

// Windows-1252 to UTF-8 and to ISO 8859-1 (characters that have no Latin-1 form become '?').
void Cp1252ToUtf8(const char* text, char* out, size_t outSize);
void Cp1252ToLatin1(const char* text, char* out, size_t outSize);
unsigned Cp1252ToCodePoint(unsigned char c);
