// The build's sphere in the browser: our GLUT's, which WebGL draws instanced.

#include "render/sphere.h"

#include <GL/freeglut.h>

namespace {

// freeglut refuses to draw before glutInit; it needs no window of its own for
// a sphere, and draws into whatever context is current.
bool InitGlut()
{
    int argc = 1;
    char name[] = "boulles";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    return true;
}

}  // namespace

void SolidSphere(double radius)
{
    static const bool glutReady = InitGlut();
    (void)glutReady;
    glutSolidSphere(radius, SPHERE_SLICES, SPHERE_STACKS);
}
