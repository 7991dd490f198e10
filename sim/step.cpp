#include "sim/step.h"

#include "sim/balls.h"

#include <cmath>

void ComputeForce(Vector& out, int index)
{
    const Ball& self = BallTable[index];
    const double gravityTimesMass = (double)SimulationParameters.gravitationalConstant *
                                    self.gravitationalMass;
    out.Set(0, 0, 0);
    for (int j = 0; j < BALL_COUNT; ++j) {
        const Ball& other = BallTable[j];
        Vector pull = Displacement(self.position, other.position);
        if (j != index) {
            // The pull's length is G * gi * gj at every distance.
            const float strength = (float)(gravityTimesMass * other.gravitationalMass);
            const double distance = Distance(self.position, other.position);
            // Coincident balls have no direction between them: no pull, not NaN.
            if (distance != 0)
                pull = Scale(pull, (float)(strength / distance));
        }
        out = Add(out, pull);
    }
}

// A zero (or subnormal) inertial mass has no finite reciprocal; such a ball is
// treated as immovable, the way physics engines read an inverse mass of 0.
static float ReciprocalMass(float inertialMass)
{
    const float reciprocal = (float)(1.0 / inertialMass);
    return std::isinf(reciprocal) ? 0.0f : reciprocal;
}

void StepSimulation()
{
    for (int i = 0; i < BALL_COUNT; ++i) {
        Ball& ball = BallTable[i];
        Vector force;
        ComputeForce(force, i);
        force = Scale(force, ReciprocalMass(ball.inertialMass));
        force = Scale(force, SimulationParameters.timeStep);
        ball.velocity = Add(ball.velocity, force);
        TrackedPoint& p = ball.position;
        p.MoveTo((float)((double)p.x + ball.velocity.x), (float)((double)p.y + ball.velocity.y),
                 (float)((double)p.z + ball.velocity.z));
    }
}
