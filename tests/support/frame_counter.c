/* LD_PRELOAD shim: counts the frames an unchanged program presents, so that a
 * test can wait for frames rather than for time. The count is a 64-bit integer
 * at the start of the file named by FRAME_COUNT_FILE, which the test maps too.
 * A frame counts once the X server has it: after the swap the shim makes a
 * round trip, so a picture read after the count went up shows that frame or a
 * later one. Under Wayland (eglSwapBuffers) the round trip is on a queue of the shim's own,
 * so that none of the program's events are handled from here. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>
#ifdef BOULLES_WAYLAND
#include <EGL/egl.h>
#include <wayland-client.h>
#endif

static int64_t* MapCount(void)
{
    const char* path = getenv("FRAME_COUNT_FILE");
    const int fd = path != NULL ? open(path, O_RDWR) : -1;
    if (fd < 0)
        return NULL;
    void* mapped = mmap(NULL, sizeof(int64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    return mapped == MAP_FAILED ? NULL : (int64_t*)mapped;
}

static void Count(void)
{
    static int64_t* count;
    if (count == NULL)
        count = MapCount();
    if (count != NULL)
        __atomic_add_fetch(count, 1, __ATOMIC_RELEASE);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static void (*realSwap)(Display*, GLXDrawable);
    if (realSwap == NULL)
        realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    realSwap(display, drawable);
    XSync(display, False);
    Count();
}

#ifdef BOULLES_WAYLAND
static struct wl_display* connection;

struct wl_display* wl_display_connect(const char* name)
{
    struct wl_display* (*realConnect)(const char*) =
        (struct wl_display * (*)(const char*)) dlsym(RTLD_NEXT, "wl_display_connect");
    connection = realConnect(name);
    return connection;
}

EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    static EGLBoolean (*realSwap)(EGLDisplay, EGLSurface);
    if (realSwap == NULL)
        realSwap = (EGLBoolean(*)(EGLDisplay, EGLSurface))dlsym(RTLD_NEXT, "eglSwapBuffers");
    const EGLBoolean swapped = realSwap(display, surface);
    if (connection != NULL) {
        static struct wl_event_queue* queue;
        if (queue == NULL)
            queue = wl_display_create_queue(connection);
        wl_display_roundtrip_queue(connection, queue);
    }
    Count();
    return swapped;
}
#endif
