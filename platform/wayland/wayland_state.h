#pragma once
// The Wayland backend's one state record and what its files share. Nothing outside
// platform/wayland/ includes it.
//
// Where the Wayland backend differs from Windows, beyond what core/windows.h lists:
// - Windows have no position: the compositor places them, and the cursor's position is in the
//   window's own coordinates (the window is at 0,0).
// - The outer size asked for is the frame's where the program draws the frame (libdecor, as
//   GNOME and weston want) and the content's where the compositor draws it (sway, KDE).
// - On a scaled output the client area is in the buffer's pixels (twice the asked size at scale
//   2, one and a half times at a fractional 1.5), so that the picture is sharp; the cursor moves
//   in the output's logical pixels.
// - Windows are never reported minimised: the protocol does not say when they are.
// - GetKeyState knows the keys the X11 backend knows (the same keysyms); held keys repeat no
//   WM_KEYDOWN. Characters outside Windows-1252 type nothing.
// - Pixel format indices number EGL's configurations; a context is a compatibility one.
// - MessageBoxA supports MB_OK only, with the error icon; its window is a toplevel of its own.
// - The app id is the program's file name, as its desktop entry is named.
// - A full message queue leaves events unread in the socket, but libwayland dispatches one
//   read's events together: what of that read finds no room is lost.
// - Losing the compositor ends the process with exit code 1 and one line on standard error.

#include "platform/core/backend.h"

#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>
#include <xkbcommon/xkbcommon.h>

struct libdecor;
struct libdecor_frame;
struct cairo_surface;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewporter;
struct wp_viewport;

const int MAX_OUTPUTS = 8;

struct WaylandOutput {
    wl_output* output;  // null when the slot is free
    uint32_t name;
    int scale;
};

// The Wayland side of one program window.
struct WaylandWindow {
    HWND hwnd;
    wl_surface* surface;
    libdecor_frame* frame;  // null until shown
    wl_egl_window* eglWindow;
    EGLSurface eglSurface;
    int width, height;  // the content, in logical pixels
    int scale;          // of the output it is on (the highest, if several)
    // Where the compositor offers fractional scales: the scale it prefers, in 120ths (0 before
    // it says), and the viewport that shows the buffer at the logical size.
    wp_fractional_scale_v1* fractionalScale;
    wp_viewport* viewport;
    int preferredScale;
    wl_output* outputs[MAX_OUTPUTS];  // the outputs the surface is on
    bool configured;
    bool shown;  // ShowWindow has been called: frames may be presented
    bool swapIntervalSet;
};

struct WaylandBox {
    WaylandWindow window;  // surface and frame only
    wl_buffer* buffer;
    int width, height;
    const char* text;
    bool pressedOnButton;
    bool dismissed;
};

struct Keyboard {
    wl_keyboard* keyboard;
    xkb_context* context;
    xkb_keymap* keymap;
    xkb_state* state;
    wl_surface* focus;
};

struct Pointer {
    wl_pointer* pointer;
    wl_surface* focus;
    int x, y;  // logical pixels in the focused surface
    int wheelSteps;     // discrete steps of this pointer frame, away from the user positive
    double wheelAmount;  // smooth scrolling of this frame, in wl_pointer.axis units
};

struct WaylandState {
    wl_display* display;  // null while not connected
    wl_registry* registry;
    wl_compositor* compositor;
    wl_shm* shm;
    wl_seat* seat;
    wp_fractional_scale_manager_v1* fractionalScales;  // with the viewporter, or both null
    wp_viewporter* viewporter;
    bool hasShell;
    libdecor* decor;
    Keyboard keyboard;
    Pointer pointer;
    WaylandOutput outputs[MAX_OUTPUTS];
    WaylandWindow windows[MAX_WINDOWS];
    EGLDisplay egl;  // EGL_NO_DISPLAY until the first pixel format is asked for
    bool eglFailed;
    WaylandBox box;
};

extern WaylandState wayland;

// --- connection (connection.cpp) ---

// Sends what is buffered and handles what has arrived; ends the process when the compositor is gone.
void DispatchPending();
// Waits for the compositor's answer to everything sent so far.
void Roundtrip();

// --- windows (window.cpp) ---

WaylandWindow* WindowOfSurface(wl_surface* surface);
// The Wayland side of a program window, made (a surface) on first need; null when all are taken.
WaylandWindow* WindowRecordOf(HWND hwnd);
// Gives the surface a frame (libdecor: drawn by the compositor where it offers to) and waits for
// its first configure; `width` and `height` are the outer size asked for.
void ShowSurface(WaylandWindow& window, const char* caption, int width, int height);
void HideSurface(WaylandWindow& window);
void OutputScaleChanged();

// --- input (input.cpp) ---

void SeatCapabilitiesChanged(uint32_t capabilities);
void ReleaseSeatDevices();

// --- message box (message_box.cpp) ---

void BoxKeyPressed(xkb_keysym_t keysym);
void BoxButtonChanged(int x, int y, bool pressed);
// Draws the box at its content size; called on every configure of its frame.
void DrawBox(WaylandWindow& window);

// --- what the core asks of the backend (WAYLAND_BACKEND, in connection.cpp) ---

bool WaylandOpen();
void WaylandClose();
bool WaylandCreateWindow(HWND hwnd);
void WaylandShowWindow(HWND hwnd);
void WaylandDestroyWindow(HWND hwnd);
void WaylandDrainEvents();
bool WaylandWaitForEvents(int64_t deadline);
int WaylandChoosePixelFormat(HWND hwnd, const PIXELFORMATDESCRIPTOR& wanted);
bool WaylandSetPixelFormat(HWND hwnd, int format);
void* WaylandCreateContext(HWND hwnd);
bool WaylandMakeCurrent(HWND hwnd, void* context);
void WaylandDeleteContext(void* context);
void WaylandPresent(HWND hwnd);
void WaylandMessageBox(HWND owner, const char* text, const char* caption);
