#include "gl/surface.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

// Windows-1252 bytes, whatever the encoding of this file.
static const char UNSUPPORTED_MODE_TEXT[] = "Mode graphique non support\xe9.";
static const char UNSUPPORTED_MODE_CAPTION[] = "Probl\xe8me";

PIXELFORMATDESCRIPTOR PixelFormatRequest()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 16;
    descriptor.cDepthBits = 32;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

void SetupPixelFormat(HDC deviceContext)
{
    const PIXELFORMATDESCRIPTOR descriptor = PixelFormatRequest();
    // Whatever format the platform picks for the index is accepted as it comes.
    const int index = ChoosePixelFormat(deviceContext, &descriptor);
    if (index == 0 || !SetPixelFormat(deviceContext, index, &descriptor))
        ExitUnsupportedGraphicsMode(deviceContext);
}

void ExitUnsupportedGraphicsMode(HDC deviceContext)
{
    MessageBoxA(WindowFromDC(deviceContext), UNSUPPORTED_MODE_TEXT, UNSUPPORTED_MODE_CAPTION,
                MB_ICONERROR);
    std::exit(1);
}

void InitGL()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

// A zero height (minimised window) gives an infinite or NaN aspect; the size
// message on restoring sets a proper projection again.
void ResizeScene(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (double)width / (double)height, 1.0, 1000000.0);
}
