/* Counts the frames an unchanged program presents, for tests to wait on.
 * An LD_PRELOAD shim, so that a test can wait for frames rather than for time.
 * The count is a 64-bit integer at the start of the file named by
 * FRAME_COUNT_FILE, which the test maps too.
 * A frame counts once the X server has it: after the swap the shim makes a
 * round trip, so a picture read after the count went up shows that frame or a
 * later one. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

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

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static void (*realSwap)(Display*, GLXDrawable);
    static int64_t* count;
    if (realSwap == NULL) {
        realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
        count = MapCount();
    }
    realSwap(display, drawable);
    XSync(display, False);
    if (count != NULL)
        __atomic_add_fetch(count, 1, __ATOMIC_RELEASE);
}
