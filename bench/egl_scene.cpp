// A plain EGL program on Wayland that draws the demo's scene (its sphere too) in a window of
// its own as fast as it can, in a libdecor frame: the yardstick for the demo's tick rate there.
// Usage: egl_scene SECONDS

#include "gl/surface.h"
#include "render/scene.h"
#include "sim/balls.h"
#include "sim/step.h"

#include <EGL/egl.h>
#include <libdecor.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;
const int WIDTH = 640;
const int HEIGHT = 480;

wl_compositor* compositor;
bool configured;

void GlobalAdded(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        compositor = (wl_compositor*)wl_registry_bind(registry, name, &wl_compositor_interface, 1);
}

void GlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener REGISTRY_LISTENER = {GlobalAdded, GlobalRemoved};

void Configured(libdecor_frame* frame, libdecor_configuration* configuration, void*)
{
    libdecor_state* state = libdecor_state_new(WIDTH, HEIGHT);
    libdecor_frame_commit(frame, state, configuration);
    libdecor_state_free(state);
    configured = true;
}

void Closed(libdecor_frame*, void*) { std::exit(0); }
void Commit(libdecor_frame*, void*) {}
void DecorError(libdecor*, libdecor_error, const char* message) { std::fprintf(stderr, "%s\n", message); }

EGLConfig ChooseConfig(EGLDisplay display)
{
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                 EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 24, EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    eglChooseConfig(display, attributes, configs, 64, &count);
    for (int i = 0; i < count; ++i) {  // 10-bit configurations come first
        EGLint red = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
        if (red == 8)
            return configs[i];
    }
    return count > 0 ? configs[0] : nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return 1;
    wl_registry_add_listener(wl_display_get_registry(display), &REGISTRY_LISTENER, nullptr);
    wl_display_roundtrip(display);
    static libdecor_interface decorInterface = {};
    decorInterface.error = DecorError;
    static libdecor_frame_interface frameInterface = {};
    frameInterface.configure = Configured;
    frameInterface.close = Closed;
    frameInterface.commit = Commit;
    libdecor* decor = libdecor_new(display, &decorInterface);
    wl_surface* surface = wl_compositor_create_surface(compositor);
    libdecor_frame* frame = libdecor_decorate(decor, surface, &frameInterface, nullptr);
    libdecor_frame_set_app_id(frame, "egl_scene");
    libdecor_frame_map(frame);
    while (!configured)
        wl_display_roundtrip(display);

    EGLDisplay egl = eglGetDisplay((EGLNativeDisplayType)display);
    eglInitialize(egl, nullptr, nullptr);
    eglBindAPI(EGL_OPENGL_API);
    const EGLConfig config = ChooseConfig(egl);
    wl_egl_window* window = wl_egl_window_create(surface, WIDTH, HEIGHT);
    EGLSurface eglSurface = eglCreateWindowSurface(egl, config, (EGLNativeWindowType)window, nullptr);
    EGLContext context = eglCreateContext(egl, config, EGL_NO_CONTEXT, nullptr);
    eglMakeCurrent(egl, eglSurface, eglSurface, context);
    eglSwapInterval(egl, 0);
    InitGL();
    InitBalls();
    ResizeScene(WIDTH, HEIGHT);

    const Clock::time_point countFrom = Clock::now() + std::chrono::seconds(1);
    const Clock::time_point end = countFrom + std::chrono::seconds(seconds);
    long counted = 0;
    Clock::time_point last = countFrom;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        DrawScene();
        StepSimulation();
        eglSwapBuffers(egl, eglSurface);
        wl_display_dispatch_pending(display);
        if (now >= countFrom)
            ++counted, last = now;
    }
    const double elapsed = std::chrono::duration<double>(last - countFrom).count();
    std::printf("egl_scene: %ld frames in %.3f s = %.2f frames/s\n", counted, elapsed,
                counted / elapsed);
    return 0;
}
