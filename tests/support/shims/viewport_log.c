/* Logs the viewports an unchanged program sets, so a test reads its WM_SIZEs.
 * An LD_PRELOAD shim: "glViewport W H" on standard error for each. */
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
