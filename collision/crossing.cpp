#include "collision/crossing.h"

#include "collision/normals.h"
#include "math/scalar.h"

#include <cmath>

namespace {

TrackedPoint StartOfStep(TrackedPoint mover)
{
    TrackedPoint start{};
    start.MoveTo(mover.prevX, mover.prevY, mover.prevZ);
    return start;
}

// Where the step start -> start + step meets the plane, given the signed
// distances d0 and d1 of its ends from it. The caller has already returned on
// equal signs, and Sign(-0) == Sign(+0), so d0 == d1 never reaches here: the
// denominator is nonzero (NaN or infinite distances give a NaN point, which the
// inside test rejects).
TrackedPoint PlaneMeeting(TrackedPoint start, Vector step, float d0, float d1)
{
    const double t = (double)d0 / ((double)d0 - d1);
    TrackedPoint meeting{};
    meeting.MoveTo((float)((double)start.x + (double)step.x * t),
                   (float)((double)start.y + (double)step.y * t),
                   (float)((double)start.z + (double)step.z * t));
    return meeting;
}

// Angle, in radians, under which the edge from `from` to `to` is seen from p.
// A p on a corner, or a rounded dot product outside [-1, 1], gives NaN.
float AngleSeen(TrackedPoint p, TrackedPoint from, TrackedPoint to)
{
    Vector u = Displacement(p, from);
    Vector v = Displacement(p, to);
    Normalize(u);
    Normalize(v);
    return (float)std::acos(Dot(u, v));
}

// A NaN sum fails both comparisons.
int SeenAsFullTurn(TrackedPoint p, TrackedPoint a, TrackedPoint b, TrackedPoint c,
                   TrackedPoint d, float tolerance)
{
    const double sum = (double)AngleSeen(p, a, b) + AngleSeen(p, b, c) + AngleSeen(p, c, d) +
                       AngleSeen(p, d, a);
    return FULL_TURN - tolerance < sum && sum < FULL_TURN + tolerance ? 1 : 0;
}

}  // namespace

int SegmentCrossesPlane(TrackedPoint a, TrackedPoint b, TrackedPoint c, TrackedPoint /*d*/,
                        TrackedPoint mover)
{
    Vector n{};
    UnitEdgeNormal(b, a, c, n);
    // Measured from the mover to b: an end in the plane gives zero, counted as behind.
    const float s0 = (float)Dot(n, Displacement(StartOfStep(mover), b));
    const float s1 = (float)Dot(n, Displacement(mover, b));
    return Sign(s0) != Sign(s1) ? 1 : 0;
}

int SegmentHitsQuad(TrackedPoint a, TrackedPoint b, TrackedPoint c, TrackedPoint d,
                    TrackedPoint mover, Vector& normal, float tolerance)
{
    const TrackedPoint start = StartOfStep(mover);
    const Vector step = Displacement(start, mover);
    UnitEdgeNormal(b, a, c, normal);
    const Vector n = normal;
    // Measured from b to the mover: an end in the plane gives zero, counted as in front.
    const float d0 = (float)Dot(n, Displacement(b, start));
    const float d1 = (float)Dot(n, Displacement(b, mover));
    if (Sign(d0) == Sign(d1))
        return 0;
    return SeenAsFullTurn(PlaneMeeting(start, step, d0, d1), a, b, c, d, tolerance);
}
