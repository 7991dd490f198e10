/* LD_PRELOAD shim: the display refuses every OpenGL context, as a driver may. */
#include <GL/glx.h>

GLXContext glXCreateNewContext(Display* display, GLXFBConfig config, int renderType,
                               GLXContext shareList, Bool direct)
{
    (void)display, (void)config, (void)renderType, (void)shareList, (void)direct;
    return NULL;
}
