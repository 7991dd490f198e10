/* Counts the frames an unchanged program presents: for tests to wait on, and as a rate.
 * An LD_PRELOAD shim over glXSwapBuffers. With FRAME_COUNT_FILE, the count is the
 * 64-bit integer at the start of that file, which the test maps too, and a frame
 * counts once the X server has it: after the swap the shim makes a round trip, so
 * a picture read after the count went up shows that frame or a later one. At exit
 * it prints on stderr the frames per second after the first one (start-up), which
 * the soak and the frame benchmark read. */
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

__attribute__((destructor)) static void ReportRate(void)
{
    if (rateSwaps > 0)
        fprintf(stderr, "swaps: %ld in %.3f s = %.2f frames/s\n", rateSwaps, lastSwap - rateFrom,
                rateSwaps / (lastSwap - rateFrom));
}
