// Program windows as Wayland surfaces: their frames (libdecor, which lets the compositor draw
// them where it offers to), their sizes, and the scale of the outputs they are on.

#include "platform/wayland/wayland_state.h"

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"

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

// A logical length at a scale in 120ths, rounded half away from zero as the compositor does.
int AtFractionalScale(int length, int scale)
{
    return (length * scale + 60) / 120;
}

// The buffer has the output's scale, so the client area is in its pixels: a whole scale is the
// buffer's own, a fractional one the viewport's.
void ApplySize(WaylandWindow& window)
{
    window.scale = ScaleOf(window);
    if (IsBox(window)) {
        DrawBox(window);
        return;
    }
    int width = window.width * window.scale;
    int height = window.height * window.scale;
    int bufferScale = window.scale;
    if (window.preferredScale > 0) {
        width = AtFractionalScale(window.width, window.preferredScale);
        height = AtFractionalScale(window.height, window.preferredScale);
        bufferScale = 1;
        wp_viewport_set_destination(window.viewport, window.width, window.height);
    }
    wl_surface_set_buffer_scale(window.surface, bufferScale);
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

void PreferredScaleChanged(void* data, wp_fractional_scale_v1*, uint32_t scale)
{
    WaylandWindow& window = *(WaylandWindow*)data;
    window.preferredScale = (int)scale;
    if (window.configured)
        ApplySize(window);
}

const wp_fractional_scale_v1_listener FRACTIONAL_SCALE_LISTENER = {PreferredScaleChanged};

// The box keeps whole scales: cairo draws it at any, and it is never resized.
void CreateSurface(WaylandWindow& window)
{
    window.surface = wl_compositor_create_surface(wayland.compositor);
    wl_surface_add_listener(window.surface, &SURFACE_LISTENER, &window);
    window.scale = HighestOutputScale();
    if (wayland.fractionalScales && !IsBox(window)) {
        window.viewport = wp_viewporter_get_viewport(wayland.viewporter, window.surface);
        window.fractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(
            wayland.fractionalScales, window.surface);
        wp_fractional_scale_v1_add_listener(window.fractionalScale, &FRACTIONAL_SCALE_LISTENER,
                                            &window);
    }
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
    if (window.fractionalScale)
        wp_fractional_scale_v1_destroy(window.fractionalScale);
    if (window.viewport)
        wp_viewport_destroy(window.viewport);
    if (window.surface)
        wl_surface_destroy(window.surface);
    window.frame = nullptr;
    window.fractionalScale = nullptr;
    window.viewport = nullptr;
    window.preferredScale = 0;
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
