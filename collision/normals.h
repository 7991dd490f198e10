#pragma once
// Plane normals through three points and reflection of a motion on a plane.
//
// A normal is the Cross of the edge p0 -> p1 and the edge p0 -> p2, so it
// points to the side from which p0, p1, p2 appear counter-clockwise; swapping
// p1 and p2 reverses it. Only the current position of a point is read, and an
// output Vector gets x, y, z written and keeps its w.

#include "math/vector.h"

// normal := (p1 - p0) x (p2 - p0), not normalised: its length is twice the
// triangle's area, zero for collinear points.
void PlaneNormal(TrackedPoint p0, TrackedPoint p1, TrackedPoint p2, Vector& normal);

// As PlaneNormal, but each edge is scaled to unit length first; the result has
// unit length only when the edges at p0 are perpendicular. A zero-length edge
// gives NaN in every component.
void UnitEdgeNormal(TrackedPoint p0, TrackedPoint p1, TrackedPoint p2, Vector& normal);

// motion := motion - 2 (motion . normal) normal, with the normal used as given:
// a mirror image only when its length is 1.
void Reflect(Vector& motion, Vector normal);

// Reflect on PlaneNormal(p0, p1, p2), which keeps its length: the component
// along the normal is multiplied by 1 - 2 |n|^2.
void ReflectOnPlane(Vector& motion, TrackedPoint p0, TrackedPoint p1, TrackedPoint p2);
