/* Counts the frames an unchanged program presents: for tests to wait on, and as a rate.
 * An LD_PRELOAD shim over glXSwapBuffers. With FRAME_COUNT_FILE, the count is the
 * 64-bit integer at the start of that file, which the test maps too, and a frame
 * counts once the X server has it: after the swap the shim makes a round trip, so
 * a picture read after the count went up shows that frame or a later one. At exit
 * it prints on stderr the frames per second after the first one (start-up), which
 * the soak and the frame benchmark read. Under Wayland (eglSwapBuffers) the round trip is
 * on a queue of the shim's own, so that none of the program's events are handled from here. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#ifdef BOULLES_WAYLAND
#include <EGL/egl.h>
#include <wayland-client.h>
#endif

static double Now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

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

static double firstSwap = -1, rateFrom = -1, lastSwap; /* the first second is start-up */
static long rateSwaps;

static void TimeSwap(void)
{
    const double now = Now();
    if (firstSwap < 0)
        firstSwap = now;
    if (now - firstSwap < 1.0)
        return;
    rateSwaps += rateFrom >= 0;
    if (rateFrom < 0)
        rateFrom = now;
    lastSwap = now;
}

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static void (*realSwap)(Display*, GLXDrawable);
    static int64_t* count;
    if (realSwap == NULL) {
        realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
        count = MapCount();
    }
    realSwap(display, drawable);
    TimeSwap();
    if (count != NULL) {
        XSync(display, False);
        __atomic_add_fetch(count, 1, __ATOMIC_RELEASE);
    }
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
    static int64_t* count;
    if (realSwap == NULL) {
        realSwap = (EGLBoolean(*)(EGLDisplay, EGLSurface))dlsym(RTLD_NEXT, "eglSwapBuffers");
        count = MapCount();
    }
    const EGLBoolean swapped = realSwap(display, surface);
    TimeSwap();
    if (count != NULL && connection != NULL) {
        static struct wl_event_queue* queue;
        if (queue == NULL)
            queue = wl_display_create_queue(connection);
        wl_display_roundtrip_queue(connection, queue);
        __atomic_add_fetch(count, 1, __ATOMIC_RELEASE);
    }
    return swapped;
}
#endif

__attribute__((destructor)) static void ReportRate(void)
{
    if (rateSwaps > 0)
        fprintf(stderr, "swaps: %ld in %.3f s = %.2f frames/s\n", rateSwaps, lastSwap - rateFrom,
                rateSwaps / (lastSwap - rateFrom));
}
