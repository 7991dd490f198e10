#include "render/sphere.h"

#include <windows.h>

#include <GL/gl.h>

#include <cmath>

namespace {

// Unit normals of the rings: stack 0 is the pole at +z, stack SPHERE_STACKS the
// pole at -z; slice k lies at angle 2 pi k / SPHERE_SLICES about the z axis.
struct UnitSphere {
    GLfloat normal[SPHERE_STACKS + 1][SPHERE_SLICES + 1][3];
};

UnitSphere BuildUnitSphere()
{
    const double pi = std::acos(-1.0);
    UnitSphere sphere;
    for (int stack = 0; stack <= SPHERE_STACKS; ++stack) {
        const double polar = pi * stack / SPHERE_STACKS;
        for (int slice = 0; slice <= SPHERE_SLICES; ++slice) {
            const double around = 2 * pi * (slice % SPHERE_SLICES) / SPHERE_SLICES;
            GLfloat* n = sphere.normal[stack][slice];
            n[0] = (GLfloat)(std::cos(around) * std::sin(polar));
            n[1] = (GLfloat)(std::sin(around) * std::sin(polar));
            n[2] = (GLfloat)std::cos(polar);
        }
    }
    return sphere;
}

void Emit(const GLfloat* n, double radius)
{
    glNormal3fv(n);
    glVertex3f((GLfloat)(radius * n[0]), (GLfloat)(radius * n[1]), (GLfloat)(radius * n[2]));
}

}  // namespace

void BuiltInSolidSphere(double radius)
{
    static const UnitSphere unit = BuildUnitSphere();
    // One strip per stack, wound counter-clockwise seen from outside.
    for (int stack = 0; stack < SPHERE_STACKS; ++stack) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int slice = 0; slice <= SPHERE_SLICES; ++slice) {
            Emit(unit.normal[stack][slice], radius);
            Emit(unit.normal[stack + 1][slice], radius);
        }
        glEnd();
    }
}
