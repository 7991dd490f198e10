/* Logs each viewport an unchanged program sets, one line per WM_SIZE it got.
 * An LD_PRELOAD shim: it writes "glViewport W H" on standard error for every
 * viewport, so a test can read the WM_SIZE messages the program got. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    static void (*realViewport)(GLint, GLint, GLsizei, GLsizei);
    if (realViewport == NULL)
        realViewport = (void (*)(GLint, GLint, GLsizei, GLsizei))dlsym(RTLD_NEXT, "glViewport");
    fprintf(stderr, "glViewport %d %d\n", (int)width, (int)height);
    realViewport(x, y, width, height);
}
