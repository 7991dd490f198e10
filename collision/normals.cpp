#include "collision/normals.h"

void PlaneNormal(TrackedPoint p0, TrackedPoint p1, TrackedPoint p2, Vector& normal)
{
    const Vector n = Cross(Displacement(p0, p1), Displacement(p0, p2));
    normal.Set(n.x, n.y, n.z);
}

void UnitEdgeNormal(TrackedPoint p0, TrackedPoint p1, TrackedPoint p2, Vector& normal)
{
    const Vector e1 = Displacement(p0, p1);
    const Vector e2 = Displacement(p0, p2);
    // Reciprocals of the unrounded lengths, unlike Normalize, which rounds the length first.
    const float r1 = (float)(1.0 / Length(e1));
    const float r2 = (float)(1.0 / Length(e2));
    const Vector n = Cross(Scale(e1, r1), Scale(e2, r2));
    normal.Set(n.x, n.y, n.z);
}

void Reflect(Vector& motion, Vector normal)
{
    const Vector reversed{-motion.x, -motion.y, -motion.z, 0.0f};
    const double along = Dot(reversed, normal);
    const float k = (float)(along + along);
    const Vector reflected = Add(motion, Scale(normal, k));
    motion.Set(reflected.x, reflected.y, reflected.z);
}

void ReflectOnPlane(Vector& motion, TrackedPoint p0, TrackedPoint p1, TrackedPoint p2)
{
    Vector n{};
    PlaneNormal(p0, p1, p2, n);
    Reflect(motion, n);
}
