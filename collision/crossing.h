#pragma once
// Did a moving point's last step (previous position -> current position) cross
// the plane of a quadrilateral, or the quadrilateral itself?
//
// The corners a, b, c, d go around the quadrilateral and are assumed coplanar;
// the plane is the one through a, b, c and its normal is UnitEdgeNormal(b, a, c),
// of unit length when the corner at b is a right angle. Only current positions
// of the corners are read. Results are 1 or 0; degenerate input gives 0.

#include "math/vector.h"

// What the four angles seen from a point inside add up to. Deliberately 6.28,
// not 2 pi: a tolerance above 2 pi - 6.28 (about 0.0032) is needed to accept
// any point at all.
inline constexpr double FULL_TURN = 6.28;

// 1 when the step's ends lie on different sides of the plane. An end exactly in
// the plane counts as lying behind it (away from the normal). d is not read.
int SegmentCrossesPlane(TrackedPoint a, TrackedPoint b, TrackedPoint c, TrackedPoint d,
                        TrackedPoint mover);

// 1 when the step crosses the quadrilateral: its ends lie on different sides,
// an end exactly in the plane counting as in front of it (the opposite of
// SegmentCrossesPlane), and the four angles seen from the point where it meets
// the plane add up to within `tolerance` of FULL_TURN, both bounds strict.
// Writes the normal into `normal` whatever the outcome.
int SegmentHitsQuad(TrackedPoint a, TrackedPoint b, TrackedPoint c, TrackedPoint d,
                    TrackedPoint mover, Vector& normal, float tolerance);
