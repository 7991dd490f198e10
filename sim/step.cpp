#include "sim/step.h"

#include "sim/balls.h"

#include <cmath>

namespace {

// The current positions and gravitational masses of all balls, one array per
// field: the loop over the other balls then reads four short streams instead of
// striding through the whole ball records.
struct PullSources {
    float x[BALL_COUNT];
    float y[BALL_COUNT];
    float z[BALL_COUNT];
    float mass[BALL_COUNT];
};

void Gather(PullSources& sources)
{
    for (int j = 0; j < BALL_COUNT; ++j) {
        const Ball& ball = BallTable[j];
        sources.x[j] = ball.position.x;
        sources.y[j] = ball.position.y;
        sources.z[j] = ball.position.z;
        sources.mass[j] = ball.gravitationalMass;
    }
}

// The pull on ball `index`: for each other ball j, the displacement towards it
// scaled by k = G * gi * gj / distance, summed in index order.
Vector SumOfPulls(const PullSources& s, int index)
{
    const double gravityTimesMass =
        (double)SimulationParameters.gravitationalConstant * s.mass[index];
    // All the pull factors first: the square roots and divisions of one pair
    // do not wait on the running sum of the pairs before it.
    float factor[BALL_COUNT];
    for (int j = 0; j < BALL_COUNT; ++j) {
        // The pull's length is G * gi * gj at every distance.
        const float strength = (float)(gravityTimesMass * s.mass[j]);
        const double dx = (double)s.x[index] - s.x[j];
        const double dy = (double)s.y[index] - s.y[j];
        const double dz = (double)s.z[index] - s.z[j];
        const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        // A ball does not pull itself, and coincident balls have no direction
        // between them. Their displacement is zero, so a factor of 0 adds
        // exactly nothing, and no division by zero leaks a NaN into the sum.
        factor[j] = (j != index && distance != 0) ? (float)(strength / distance) : 0.0f;
    }
    Vector sum;
    sum.Set(0, 0, 0);
    for (int j = 0; j < BALL_COUNT; ++j) {
        const Vector towards = {(float)((double)s.x[j] - s.x[index]),
                                (float)((double)s.y[j] - s.y[index]),
                                (float)((double)s.z[j] - s.z[index]), 0.0f};
        sum = Add(sum, Scale(towards, factor[j]));
    }
    return sum;
}

// A zero (or subnormal) inertial mass has no finite reciprocal; such a ball is
// treated as immovable, the way physics engines read an inverse mass of 0.
float ReciprocalMass(float inertialMass)
{
    const float reciprocal = (float)(1.0 / inertialMass);
    return std::isinf(reciprocal) ? 0.0f : reciprocal;
}

}  // namespace

void ComputeForce(Vector& out, int index)
{
    PullSources sources;
    Gather(sources);
    const Vector sum = SumOfPulls(sources, index);
    out.Set(sum.x, sum.y, sum.z);
}

void StepSimulation()
{
    PullSources sources;
    Gather(sources);
    for (int i = 0; i < BALL_COUNT; ++i) {
        Ball& ball = BallTable[i];
        Vector force = SumOfPulls(sources, i);
        force = Scale(force, ReciprocalMass(ball.inertialMass));
        force = Scale(force, SimulationParameters.timeStep);
        ball.velocity = Add(ball.velocity, force);
        TrackedPoint& p = ball.position;
        p.MoveTo((float)((double)p.x + ball.velocity.x), (float)((double)p.y + ball.velocity.y),
                 (float)((double)p.z + ball.velocity.z));
        // Later balls feel this one where it has just moved to.
        sources.x[i] = p.x;
        sources.y[i] = p.y;
        sources.z[i] = p.z;
    }
}
