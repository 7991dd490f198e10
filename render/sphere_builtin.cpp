#include "render/sphere.h"

// On the desktop the program draws the built-in sphere.
void SolidSphere(double radius)
{
    BuiltInSolidSphere(radius);
}
