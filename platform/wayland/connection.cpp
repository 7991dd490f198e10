// The one compositor connection of the process: the globals it offers, the outputs and their
// scales, reading and waiting for events, and the end of the backend.

#include "platform/wayland/wayland_state.h"

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"

#include <libdecor.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <unistd.h>

WaylandState wayland;

namespace {

// --- outputs ---

void OutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                    const char*, int32_t)
{
}

void OutputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void OutputDone(void*, wl_output*) {}
void OutputNamed(void*, wl_output*, const char*) {}

void OutputScale(void* data, wl_output*, int32_t factor)
{
    ((WaylandOutput*)data)->scale = factor > 0 ? factor : 1;
    OutputScaleChanged();
}

const wl_output_listener OUTPUT_LISTENER = {OutputGeometry, OutputMode, OutputDone, OutputScale,
                                            OutputNamed,    OutputNamed};

void AddOutput(uint32_t name, uint32_t version)
{
    for (WaylandOutput& slot : wayland.outputs)
        if (!slot.output) {
            slot = WaylandOutput{(wl_output*)wl_registry_bind(wayland.registry, name,
                                                              &wl_output_interface,
                                                              version < 2 ? version : 2),
                                 name, 1};
            wl_output_add_listener(slot.output, &OUTPUT_LISTENER, &slot);
            return;
        }
}

void RemoveOutput(uint32_t name)
{
    for (WaylandOutput& slot : wayland.outputs)
        if (slot.output && slot.name == name) {
            wl_output_destroy(slot.output);
            slot = WaylandOutput{};
            OutputScaleChanged();
        }
}

// --- globals ---

template <typename Proxy>
Proxy* Bind(uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t wanted)
{
    return (Proxy*)wl_registry_bind(wayland.registry, name, &interface,
                                    offered < wanted ? offered : wanted);
}

// wl_compositor 3 brings buffer scales; wl_seat 5 pointer frames and discrete wheel steps.
void GlobalAdded(void*, wl_registry*, uint32_t name, const char* interface, uint32_t version)
{
    if (strcmp(interface, wl_compositor_interface.name) == 0 && !wayland.compositor)
        wayland.compositor = Bind<wl_compositor>(name, wl_compositor_interface, version, 3);
    else if (strcmp(interface, wl_shm_interface.name) == 0 && !wayland.shm)
        wayland.shm = Bind<wl_shm>(name, wl_shm_interface, version, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0 && !wayland.seat)
        wayland.seat = Bind<wl_seat>(name, wl_seat_interface, version, 5);
    else if (strcmp(interface, wl_output_interface.name) == 0)
        AddOutput(name, version);
    else if (strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0)
        wayland.fractionalScales = Bind<wp_fractional_scale_manager_v1>(
            name, wp_fractional_scale_manager_v1_interface, version, 1);
    else if (strcmp(interface, wp_viewporter_interface.name) == 0)
        wayland.viewporter = Bind<wp_viewporter>(name, wp_viewporter_interface, version, 1);
    else if (strcmp(interface, "xdg_wm_base") == 0)
        wayland.hasShell = true;  // libdecor binds it itself
}

void GlobalRemoved(void*, wl_registry*, uint32_t name)
{
    RemoveOutput(name);
}

const wl_registry_listener REGISTRY_LISTENER = {GlobalAdded, GlobalRemoved};

void SeatCapabilities(void*, wl_seat*, uint32_t capabilities)
{
    SeatCapabilitiesChanged(capabilities);
}

void SeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener SEAT_LISTENER = {SeatCapabilities, SeatName};

// libdecor's own failures (a plugin missing) leave the window without a frame, not broken.
void DecorError(libdecor*, libdecor_error, const char* message)
{
    fprintf(stderr, "window frame: %s\n", message);
}

libdecor_interface DecorInterface()
{
    libdecor_interface decorInterface = {};
    decorInterface.error = DecorError;
    return decorInterface;
}

libdecor_interface DECOR_INTERFACE = DecorInterface();

// libwayland prints why it cannot connect; not finding a compositor only means trying X11.
void QuietLog(const char*, va_list) {}

void PrintLog(const char* format, va_list arguments)
{
    vfprintf(stderr, format, arguments);
}

void EndOnLostCompositor()
{
    static const char MESSAGE[] = "Wayland compositor connection lost\n";
    const ssize_t ignored = write(STDERR_FILENO, MESSAGE, sizeof MESSAGE - 1);
    (void)ignored;
    _exit(1);
}

// A fractional scale needs a viewport to show the buffer at the logical size: one without the
// other is of no use.
void ForgetFractionalScales()
{
    if (wayland.fractionalScales)
        wp_fractional_scale_manager_v1_destroy(wayland.fractionalScales);
    if (wayland.viewporter)
        wp_viewporter_destroy(wayland.viewporter);
    wayland.fractionalScales = nullptr;
    wayland.viewporter = nullptr;
}

void Disconnect()
{
    if (wayland.decor)
        libdecor_unref(wayland.decor);
    for (WaylandOutput& slot : wayland.outputs)
        if (slot.output)
            wl_output_destroy(slot.output);
    ForgetFractionalScales();
    if (wayland.seat)
        wl_seat_destroy(wayland.seat);
    if (wayland.shm)
        wl_shm_destroy(wayland.shm);
    if (wayland.compositor)
        wl_compositor_destroy(wayland.compositor);
    if (wayland.registry)
        wl_registry_destroy(wayland.registry);
    wl_display_disconnect(wayland.display);
    wayland = WaylandState{};
}

}  // namespace

void DispatchPending()
{
    if (wl_display_dispatch_pending(wayland.display) < 0 || wl_display_flush(wayland.display) < 0)
        if (errno != EAGAIN)
            EndOnLostCompositor();
}

void Roundtrip()
{
    if (wl_display_roundtrip(wayland.display) < 0)
        EndOnLostCompositor();
}

// --- what the core asks of the connection ---

// Connects where libwayland looks (WAYLAND_DISPLAY, else wayland-0 in XDG_RUNTIME_DIR); a
// compositor without the shell, a surface or shared memory cannot show a window.
bool WaylandOpen()
{
    wl_log_set_handler_client(QuietLog);
    wayland.display = wl_display_connect(nullptr);
    wl_log_set_handler_client(PrintLog);
    if (!wayland.display)
        return false;
    wayland.egl = EGL_NO_DISPLAY;
    wayland.registry = wl_display_get_registry(wayland.display);
    wl_registry_add_listener(wayland.registry, &REGISTRY_LISTENER, nullptr);
    Roundtrip();
    if (!wayland.compositor || !wayland.shm || !wayland.hasShell) {
        Disconnect();
        return false;
    }
    if (wayland.seat)
        wl_seat_add_listener(wayland.seat, &SEAT_LISTENER, nullptr);
    if (!wayland.fractionalScales || !wayland.viewporter)
        ForgetFractionalScales();
    wayland.decor = libdecor_new(wayland.display, &DECOR_INTERFACE);
    Roundtrip();  // the outputs' scales and the seat's devices
    return true;
}

void WaylandClose()
{
    if (!wayland.display)
        return;
    for (WaylandWindow& window : wayland.windows)
        if (window.hwnd)
            WaylandDestroyWindow(window.hwnd);
    if (wayland.egl != EGL_NO_DISPLAY) {
        eglMakeCurrent(wayland.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglTerminate(wayland.egl);
    }
    ReleaseSeatDevices();
    Disconnect();
}

// A full core queue leaves the events unread, in the socket, until the program has room; one
// read dispatches all it brings, though, so only a read's worth past the room can be lost.
void WaylandDrainEvents()
{
    if (!wayland.display || !CoreHasRoom())
        return;
    while (wl_display_prepare_read(wayland.display) != 0)
        DispatchPending();
    pollfd connection = {wl_display_get_fd(wayland.display), POLLIN, 0};
    if (poll(&connection, 1, 0) > 0) {
        if (wl_display_read_events(wayland.display) < 0)
            EndOnLostCompositor();
    } else {
        wl_display_cancel_read(wayland.display);
    }
    DispatchPending();
}

// Blocks on the socket until data or the deadline; what arrives is handled by the next drain.
bool WaylandWaitForEvents(int64_t deadline)
{
    timespec timeout = {};
    if (deadline != NO_DEADLINE) {
        const int64_t left = deadline - MonotonicClock();
        if (left <= 0)
            return true;
        timeout.tv_sec = (time_t)(left / 1000000000);
        timeout.tv_nsec = (long)(left % 1000000000);
    }
    if (wl_display_prepare_read(wayland.display) != 0)
        return true;  // events already queued
    DispatchPending();
    pollfd connection = {wl_display_get_fd(wayland.display), POLLIN, 0};
    if (ppoll(&connection, 1, deadline == NO_DEADLINE ? nullptr : &timeout, nullptr) > 0) {
        if (wl_display_read_events(wayland.display) < 0)
            EndOnLostCompositor();
    } else {
        wl_display_cancel_read(wayland.display);
    }
    return true;
}

const BackendFunctions WAYLAND_BACKEND = {
    WaylandOpen,        WaylandCreateWindow,      WaylandShowWindow,  WaylandDestroyWindow,
    WaylandDrainEvents, WaylandWaitForEvents,     MonotonicClock,     WaylandClose,
    WaylandChoosePixelFormat, WaylandSetPixelFormat, WaylandCreateContext, WaylandMakeCurrent,
    WaylandDeleteContext, WaylandPresent,         WaylandMessageBox,
};
