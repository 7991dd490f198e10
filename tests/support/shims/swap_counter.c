/* Counts the frames an unchanged program presents, and prints their rate.
 * An LD_PRELOAD shim: it counts the glXSwapBuffers calls and, at exit, prints
 * the presented frames per second (after the first second, to skip start-up)
 * on stderr. The soak and the frame benchmark read it. */
#define _GNU_SOURCE
#include <GL/glx.h>
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

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static void (*realSwap)(Display*, GLXDrawable);
    if (realSwap == NULL)
        realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    realSwap(display, drawable);
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

__attribute__((destructor)) static void Report(void)
{
    if (countedSwaps > 0)
        fprintf(stderr, "swaps: %ld in %.3f s = %.2f frames/s\n", countedSwaps,
                lastSwap - countFrom, countedSwaps / (lastSwap - countFrom));
}
