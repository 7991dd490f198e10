// The build's sphere on the desktop, where freeglut's would need an X display and a
// connection of its own: the same rings, drawn as strips.

#include "render/sphere.h"
#include "render/sphere_rings.h"

#include <windows.h>

#include <GL/gl.h>

namespace {

void Emit(const float* n, double radius)
{
    glNormal3fv(n);
    glVertex3f((GLfloat)(radius * n[0]), (GLfloat)(radius * n[1]), (GLfloat)(radius * n[2]));
}

}  // namespace

void SolidSphere(double radius)
{
    static const std::vector<float> normals = SphereRingNormals(SPHERE_SLICES, SPHERE_STACKS);
    const int ring = SPHERE_SLICES + 1;
    // One strip per stack, wound counter-clockwise seen from outside.
    for (int stack = 0; stack < SPHERE_STACKS; ++stack) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int slice = 0; slice <= SPHERE_SLICES; ++slice) {
            Emit(&normals[3 * (stack * ring + slice)], radius);
            Emit(&normals[3 * ((stack + 1) * ring + slice)], radius);
        }
        glEnd();
    }
}
