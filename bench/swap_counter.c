/* LD_PRELOAD shim: counts glXSwapBuffers (and, on Wayland, eglSwapBuffers) calls of an unchanged program and, at
 * exit, prints the presented frames per second (after the first second, to
 * skip start-up) on stderr. */
#define _GNU_SOURCE
#include <GL/glx.h>
#ifdef BOULLES_WAYLAND
#include <EGL/egl.h>
#endif
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

static double Now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

static double firstSwap = -1; /* start-up: the first second is not counted */
static double countFrom = -1;
static double lastSwap;
static long countedSwaps;

static void Counted(void)
{
    const double now = Now();
    if (firstSwap < 0)
        firstSwap = now;
    if (now - firstSwap < 1.0)
        return;
    if (countFrom < 0)
        countFrom = now;
    else
        ++countedSwaps;
    lastSwap = now;
}

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static void (*realSwap)(Display*, GLXDrawable);
    if (realSwap == NULL)
        realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    realSwap(display, drawable);
    Counted();
}

#ifdef BOULLES_WAYLAND
EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    static EGLBoolean (*realSwap)(EGLDisplay, EGLSurface);
    if (realSwap == NULL)
        realSwap = (EGLBoolean(*)(EGLDisplay, EGLSurface))dlsym(RTLD_NEXT, "eglSwapBuffers");
    const EGLBoolean swapped = realSwap(display, surface);
    Counted();
    return swapped;
}
#endif

__attribute__((destructor)) static void Report(void)
{
    if (countedSwaps > 0)
        fprintf(stderr, "swaps: %ld in %.3f s = %.2f frames/s\n", countedSwaps,
                lastSwap - countFrom, countedSwaps / (lastSwap - countFrom));
}
