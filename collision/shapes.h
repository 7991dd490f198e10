#pragma once
// A moving point against an axis-aligned box, and a planar point against a
// circle. Results are 1 or 0.

#include "math/vector.h"

// Tests the step against the box's six faces with SegmentHitsQuad, in the
// order z = z1, z = z2, x = x1, x = x2, y = y1, y = y2, and reports the first
// face hit, its normal left in `normal`. Both faces of a pair get the same
// normal, (0, 0, sx*sy), (sy*sz, 0, 0) or (0, sz*sx, 0), with s the signs of
// x2 - x1, y2 - y1, z2 - z1: it points out of the box at one and into it at the
// other. On a miss `normal` holds the normal of the last face, y = y2. A box
// flat along one axis can only be hit on the two coinciding faces across it.
int SegmentHitsBox(float x1, float y1, float z1, float x2, float y2, float z2,
                   TrackedPoint mover, Vector& normal, float tolerance);

// 1 when (x, y) lies strictly outside the circle and (x + dx, y + dy) inside or
// on it. Only the two ends are looked at, not the path between them.
int EntersCircle(float x, float y, float dx, float dy, float cx, float cy, float radius);
