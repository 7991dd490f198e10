#include "collision/shapes.h"

#include "collision/crossing.h"

namespace {

// --- box faces ---

// Which of the two box corners each coordinate of a face corner comes from.
struct CornerPick {
    bool x2;
    bool y2;
    bool z2;
};

// Corners in the order a, b, c, d, with the right angle at b, so that
// UnitEdgeNormal(b, a, c) has unit length.
constexpr CornerPick FACES[6][4] = {
    {{false, false, false}, {false, true, false}, {true, true, false}, {true, false, false}},
    {{false, false, true}, {false, true, true}, {true, true, true}, {true, false, true}},
    {{false, false, true}, {false, true, true}, {false, true, false}, {false, false, false}},
    {{true, false, true}, {true, true, true}, {true, true, false}, {true, false, false}},
    {{true, false, false}, {true, false, true}, {false, false, true}, {false, false, false}},
    {{true, true, false}, {true, true, true}, {false, true, true}, {false, true, false}},
};

struct Box {
    float x1, y1, z1, x2, y2, z2;

    TrackedPoint Corner(CornerPick pick) const
    {
        TrackedPoint p{};
        p.MoveTo(pick.x2 ? x2 : x1, pick.y2 ? y2 : y1, pick.z2 ? z2 : z1);
        return p;
    }
};

// --- circle ---

double SquaredDistance(double dx, double dy)
{
    return dx * dx + dy * dy;
}

}  // namespace

int SegmentHitsBox(float x1, float y1, float z1, float x2, float y2, float z2,
                   TrackedPoint mover, Vector& normal, float tolerance)
{
    const Box box{x1, y1, z1, x2, y2, z2};
    for (const CornerPick(&face)[4] : FACES) {
        // SegmentHitsQuad has already written this face's normal.
        if (SegmentHitsQuad(box.Corner(face[0]), box.Corner(face[1]), box.Corner(face[2]),
                            box.Corner(face[3]), mover, normal, tolerance))
            return 1;
    }
    return 0;
}

int EntersCircle(float x, float y, float dx, float dy, float cx, float cy, float radius)
{
    const double r2 = (double)radius * radius;
    const double s1 = SquaredDistance((double)x + dx - cx, (double)y + dy - cy);
    if (s1 > r2)
        return 0;
    const double s0 = SquaredDistance((double)x - cx, (double)y - cy);
    return s0 > r2 ? 1 : 0;
}
