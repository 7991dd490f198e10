#include "sim/balls.h"

#include "math/scalar.h"

Ball BallTable[BALL_COUNT];

std::uint32_t randomState = 1;

int RandomInt()
{
    randomState = randomState * 214013u + 2531011u;
    return (int)((randomState >> 16) & 0x7FFF);
}

double RandomFloat(float bound)
{
    return (RandomInt() / (double)RANDOM_MAX) * bound;
}

void Ball::RandomizeBall()
{
    const float z = (float)(RandomFloat(2000) - 1000);
    const float y = (float)(RandomFloat(2000) - 1000);
    const float x = (float)(RandomFloat(2000) - 1000);
    position.MoveTo(x, y, z);
    green = 0;
    inertialMass = (float)RandomFloat(200);
    gravitationalMass = (float)RandomFloat(200);

    // The gravitational mass picks the branch, the inertial mass the intensity.
    const float q = (float)((double)inertialMass / 300);
    const float intensity = (float)(1 - (double)Abs(q));
    if (gravitationalMass > 0) {
        red = 0;
        blue = intensity;
    } else {
        blue = 0;
        red = intensity;
    }
    radius = (float)((double)Abs(gravitationalMass) / 3);
}

void InitBalls()
{
    for (Ball& ball : BallTable)
        ball.RandomizeBall();
}
