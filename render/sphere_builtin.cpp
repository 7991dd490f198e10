#include "render/sphere.h"

// Where no GLUT library is at hand, the built-in sphere stands in.
void SolidSphere(double radius)
{
    BuiltInSolidSphere(radius);
}
