// Program windows as Wayland surfaces: their frames (libdecor, which lets the compositor draw
// them where it offers to), their sizes, and the scale of the outputs they are on.

#include "platform/wayland/wayland_state.h"

#include <libdecor.h>

#include <cerrno>

namespace {

// Before the surface is on an output, the highest scale is the likeliest: a window shown there
// first at scale 1 would be drawn blurred until its first resize.
int HighestOutputScale()
{
    int scale = 1;
    for (const WaylandOutput& slot : wayland.outputs)
        if (slot.output && slot.scale > scale)
            scale = slot.scale;
    return scale;
}

int ScaleOf(const WaylandWindow& window)
{
    int scale = 0;
    for (const wl_output* output : window.outputs)
        for (const WaylandOutput& slot : wayland.outputs)
            if (output && slot.output == output && slot.scale > scale)
                scale = slot.scale;
    return scale > 0 ? scale : HighestOutputScale();
}

bool IsBox(const WaylandWindow& window)
{
    return &window == &wayland.box.window;
}

// The buffer has the output's scale, so the client area is in its pixels.
void ApplySize(WaylandWindow& window)
{
    window.scale = ScaleOf(window);
    if (IsBox(window)) {
        DrawBox(window);
        return;
    }
    wl_surface_set_buffer_scale(window.surface, window.scale);
    const int width = window.width * window.scale;
    const int height = window.height * window.scale;
    if (window.eglWindow)
        wl_egl_window_resize(window.eglWindow, width, height, 0, 0);
    CoreClientSized(window.hwnd, width, height);
}

// --- the surface's outputs ---

void SurfaceEntered(void* data, wl_surface*, wl_output* output)
{
    WaylandWindow& window = *(WaylandWindow*)data;
    for (wl_output*& slot : window.outputs)
        if (!slot) {
            slot = output;
            break;
        }
    if (window.configured)
        ApplySize(window);
}

void SurfaceLeft(void* data, wl_surface*, wl_output* output)
{
    WaylandWindow& window = *(WaylandWindow*)data;
    for (wl_output*& slot : window.outputs)
        if (slot == output)
            slot = nullptr;
    if (window.configured)
        ApplySize(window);
}

const wl_surface_listener SURFACE_LISTENER = {SurfaceEntered, SurfaceLeft};

void CreateSurface(WaylandWindow& window)
{
    window.surface = wl_compositor_create_surface(wayland.compositor);
    wl_surface_add_listener(window.surface, &SURFACE_LISTENER, &window);
    window.scale = HighestOutputScale();
}

// --- the frame ---

void CommitContentSize(libdecor_frame* frame, int width, int height,
                       libdecor_configuration* configuration)
{
    libdecor_state* state = libdecor_state_new(width, height);
    libdecor_frame_commit(frame, state, configuration);
    libdecor_state_free(state);
}

// A configure without a size leaves it to the window: the size asked for, first, whose outer
// size includes the frame where libdecor draws one. Its title bar's height and its side
// border show as where the content starts in the frame; the bottom border is as wide as a side.
void FrameConfigured(libdecor_frame* frame, libdecor_configuration* configuration, void* data)
{
    WaylandWindow& window = *(WaylandWindow*)data;
    int width = window.width;
    int height = window.height;
    const bool sized =
        libdecor_configuration_get_content_size(configuration, frame, &width, &height);
    CommitContentSize(frame, width, height, configuration);
    if (!sized && !window.configured && !IsBox(window)) {
        int left = 0, top = 0;
        libdecor_frame_translate_coordinate(frame, 0, 0, &left, &top);
        if (left > 0 || top > 0) {
            width = width - 2 * left > 1 ? width - 2 * left : 1;
            height = height - top - left > 1 ? height - top - left : 1;
            CommitContentSize(frame, width, height, nullptr);
        }
    }
    window.width = width;
    window.height = height;
    window.configured = true;
    ApplySize(window);
}

void FrameClosed(libdecor_frame*, void* data)
{
    WaylandWindow& window = *(WaylandWindow*)data;
    if (IsBox(window))
        wayland.box.dismissed = true;
    else
        SendMessageA(window.hwnd, WM_CLOSE, 0, 0);
}

void FrameWantsCommit(libdecor_frame*, void* data)
{
    wl_surface_commit(((WaylandWindow*)data)->surface);
}

void PopupDismissed(libdecor_frame*, const char*, void*) {}

libdecor_frame_interface FrameInterface()
{
    libdecor_frame_interface frameInterface = {};
    frameInterface.configure = FrameConfigured;
    frameInterface.close = FrameClosed;
    frameInterface.commit = FrameWantsCommit;
    frameInterface.dismiss_popup = PopupDismissed;
    return frameInterface;
}

libdecor_frame_interface FRAME_INTERFACE = FrameInterface();

}  // namespace

WaylandWindow* WindowOfSurface(wl_surface* surface)
{
    for (WaylandWindow& window : wayland.windows)
        if (surface && window.hwnd && window.surface == surface)
            return &window;
    return nullptr;
}

WaylandWindow* WindowRecordOf(HWND hwnd)
{
    if (hwnd->native)
        return (WaylandWindow*)hwnd->native;
    for (WaylandWindow& window : wayland.windows)
        if (!window.hwnd) {
            window = WaylandWindow{};
            window.hwnd = hwnd;
            CreateSurface(window);
            hwnd->native = &window;
            return &window;
        }
    return nullptr;
}

// A surface becomes visible with its first buffer only, so the frame is made here and the first
// configure awaited: creation's WM_SIZE then says the client size the frame leaves.
void ShowSurface(WaylandWindow& window, const char* caption, int width, int height)
{
    char title[768];
    Cp1252ToUtf8(caption, title, sizeof title);
    if (!window.surface)
        CreateSurface(window);
    window.width = width;
    window.height = height;
    window.frame = libdecor_decorate(wayland.decor, window.surface, &FRAME_INTERFACE, &window);
    libdecor_frame_set_title(window.frame, title);
    libdecor_frame_set_app_id(window.frame, program_invocation_short_name);
    if (IsBox(window)) {
        libdecor_frame_unset_capabilities(window.frame, LIBDECOR_ACTION_RESIZE);
        libdecor_frame_set_min_content_size(window.frame, width, height);
        libdecor_frame_set_max_content_size(window.frame, width, height);
    }
    libdecor_frame_map(window.frame);
    while (!window.configured)
        Roundtrip();
}

void HideSurface(WaylandWindow& window)
{
    if (window.frame)
        libdecor_frame_unref(window.frame);
    if (window.surface)
        wl_surface_destroy(window.surface);
    window.frame = nullptr;
    window.surface = nullptr;
}

void OutputScaleChanged()
{
    for (WaylandWindow& window : wayland.windows)
        if (window.hwnd && window.configured && ScaleOf(window) != window.scale)
            ApplySize(window);
}

// --- what the core asks of windows ---

bool WaylandCreateWindow(HWND hwnd)
{
    WaylandWindow* window = WindowRecordOf(hwnd);
    if (!window)
        return false;
    ShowSurface(*window, hwnd->caption, hwnd->width, hwnd->height);
    return true;
}

void WaylandShowWindow(HWND hwnd)
{
    ((WaylandWindow*)hwnd->native)->shown = true;
}

void WaylandDestroyWindow(HWND hwnd)
{
    WaylandWindow* window = (WaylandWindow*)hwnd->native;
    if (!window)
        return;
    if (window->eglSurface != EGL_NO_SURFACE && wayland.egl != EGL_NO_DISPLAY)
        eglDestroySurface(wayland.egl, window->eglSurface);
    if (window->eglWindow)
        wl_egl_window_destroy(window->eglWindow);
    HideSurface(*window);
    *window = WaylandWindow{};
    hwnd->native = nullptr;
}
