/* Saves the first frame an unchanged program presents, and ends the program.
 * An LD_PRELOAD shim: at the first glXSwapBuffers (or, built for Wayland, eglSwapBuffers) it
 * writes the back buffer, the picture about to be presented, to the PPM file named by
 * FIRST_FRAME_PPM. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <GL/glx.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#ifdef BOULLES_WAYLAND
#include <EGL/egl.h>
#endif

enum { WIDTH = 640, HEIGHT = 480 };

static void SaveBackBufferAndExit(void)
{
    static unsigned char pixels[WIDTH * HEIGHT * 3];
    FILE* out = fopen(getenv("FIRST_FRAME_PPM"), "wb");
    if (out == NULL)
        _exit(3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    /* OpenGL's rows run bottom-up; PPM's top-down. */
    fprintf(out, "P6\n%d %d\n255\n", WIDTH, HEIGHT);
    for (int row = HEIGHT - 1; row >= 0; --row)
        fwrite(pixels + row * WIDTH * 3, 1, WIDTH * 3, out);
    _exit(fclose(out) == 0 ? 0 : 3);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    (void)display;
    (void)drawable;
    SaveBackBufferAndExit();
}

#ifdef BOULLES_WAYLAND
EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    (void)display;
    (void)surface;
    SaveBackBufferAndExit();
    return EGL_FALSE;
}
#endif
