#include "math/scalar.h"

void RotateAbout(float& x, float& y, float cx, float cy, float degrees)
{
    const float r = (float)PlanarDistance(x, y, cx, cy);
    // The centre itself, or a NaN radius, has no angle: the point stays where it is.
    if (!(r > 0.0f))
        return;
    // Rounding r to a float can push the cosine just past +-1; clamp so acos stays defined.
    const double cosine = std::fmin(1.0, std::fmax(-1.0, ((double)x - cx) / r));
    float theta = (float)std::acos(cosine);
    // acos only covers [0, pi]; a point below the centre has the negative angle.
    if (y < cy)
        theta = -theta;
    const double turn = degrees * DEGREES_TO_RADIANS;
    x = (float)(cx + r * std::cos(theta + turn));
    y = (float)(cy + r * std::sin(theta + turn));
}
