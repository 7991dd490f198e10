#include "sim/step.h"

#include "sim/balls.h"
#include "sim/tests/fresh_table.h"
#include "tests/support/float_bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

class Step : public ::testing::Test {
protected:
    void SetUp() override { ResetToProcessStart(); }

    // Spreads the balls on a line far apart, all without gravitational mass,
    // so that a test can give two of them a pull of their own.
    static void PlaceInertBalls()
    {
        for (int i = 0; i < BALL_COUNT; ++i) {
            BallTable[i].position.MoveTo(0, 0, 10000.0f + 100.0f * (float)i);
            BallTable[i].inertialMass = 1;
        }
    }
};

void ExpectBallBits(const Ball& b, const std::uint32_t (&expected)[15])
{
    const float fields[15] = {b.velocity.x, b.velocity.y, b.velocity.z, b.position.x,
                              b.position.y, b.position.z, b.position.prevX, b.position.prevY,
                              b.position.prevZ, b.red, b.green, b.blue, b.radius,
                              b.inertialMass, b.gravitationalMass};
    for (int i = 0; i < 15; ++i)
        EXPECT_SAME_BITS(fields[i], FloatFromBits(expected[i])) << "field " << i;
}

TEST_F(Step, FirstStepFromStartUpMatchesTheReferenceToTheBit)
{
    InitBalls();
    StepSimulation();
    // velocity ~ (0.128264, -0.0169114, 0.196946), position ~ (-613.2633, 127.1537, -997.3005)
    ExpectBallBits(BallTable[0], {0x3e0357a6, 0xbc8a89b1, 0x3e49ac4c, 0xc41950da, 0x42fe4eb4,
                                  0xc479533c, 0xc419590f, 0x42fe575d, 0xc4795fd7, 0, 0,
                                  0x3eebf32e, 0x421c00a3, 0x4321bf83, 0x42ea00f4});
    // Ball 1 already feels ball 0 at its new position.
    ExpectBallBits(BallTable[1], {0xbe6bd808, 0x3ddf9470, 0xbc3486ae, 0x4445ec72, 0xc395a76a,
                                  0xc2210f4a, 0x4445fb30, 0xc395b563, 0xc2210402, 0, 0,
                                  0x3ee72324, 0x42471839, 0x43249169, 0x4315522b});
}

TEST_F(Step, BallOneDoesNotFeelBallZerosOldPosition)
{
    InitBalls();
    StepSimulation();
    // Ball 1's velocity had it felt ball 0 where it was before the step,
    // ~ (-0.230316, 0.1091696, -0.01101892).
    const std::uint32_t fromOldTable[3] = {0xbe6bd7f5, 0x3ddf9455, 0xbc3488b3};
    const Vector& v = BallTable[1].velocity;
    const bool same = FloatBits(v.x) == fromOldTable[0] && FloatBits(v.y) == fromOldTable[1] &&
                      FloatBits(v.z) == fromOldTable[2];
    EXPECT_FALSE(same) << "the step must update in place, in index order";
}

TEST_F(Step, PullHasTheSameLengthAtEveryDistance)
{
    for (float separation : {1.0f, 1000.0f}) {
        PlaceInertBalls();
        BallTable[0].position.MoveTo(0, 0, 0);
        BallTable[1].position.MoveTo(separation, 0, 0);
        BallTable[0].gravitationalMass = 100;
        BallTable[1].gravitationalMass = 100;
        Vector force;
        ComputeForce(force, 0);
        EXPECT_FLOAT_EQ(force.x, 10.0f) << "at distance " << separation;
        EXPECT_EQ(force.y, 0.0f);
        EXPECT_EQ(force.z, 0.0f);
        ComputeForce(force, 1);
        EXPECT_FLOAT_EQ(force.x, -10.0f);
    }
}

TEST_F(Step, MasslessBallNeitherPullsNorIsPulled)
{
    PlaceInertBalls();
    BallTable[0].position.MoveTo(5, 0, 0);
    BallTable[0].gravitationalMass = 100;
    BallTable[1].gravitationalMass = 0;
    BallTable[2].gravitationalMass = 50;
    Vector force;
    ComputeForce(force, 1);
    EXPECT_EQ(force.x, 0.0f);
    EXPECT_EQ(force.y, 0.0f);
    EXPECT_EQ(force.z, 0.0f);
}

TEST_F(Step, FromRestTheBallMovesByItsNewVelocity)
{
    InitBalls();
    const TrackedPoint before = BallTable[0].position;
    StepSimulation();
    const Ball& b = BallTable[0];
    // Pull over inertial mass times the time step, ~ (0.128264, -0.0169114, 0.196946).
    EXPECT_SAME_BITS(b.velocity.x, FloatFromBits(0x3e0357a6));
    EXPECT_SAME_BITS(b.velocity.y, FloatFromBits(0xbc8a89b1));
    EXPECT_SAME_BITS(b.velocity.z, FloatFromBits(0x3e49ac4c));
    EXPECT_SAME_BITS(b.position.x, (float)((double)before.x + b.velocity.x));
    EXPECT_SAME_BITS(b.position.prevX, before.x);
    EXPECT_SAME_BITS(b.position.prevZ, before.z);
}

bool TableIsFinite()
{
    for (const Ball& b : BallTable)
        for (float v : {b.velocity.x, b.velocity.y, b.velocity.z, b.position.x, b.position.y,
                        b.position.z})
            if (!std::isfinite(v))
                return false;
    return true;
}

TEST_F(Step, CoincidentBallsStayFinite)
{
    InitBalls();
    BallTable[7].position = BallTable[3].position;
    BallTable[7].velocity = BallTable[3].velocity;
    for (int i = 0; i < 500; ++i)
        StepSimulation();
    EXPECT_TRUE(TableIsFinite());
}

TEST_F(Step, ZeroInertialMassHoldsTheBallStillAndTheRestFinite)
{
    InitBalls();
    BallTable[4].inertialMass = 0;
    BallTable[9].inertialMass = 1e-45f;  // subnormal: its reciprocal overflows too
    const TrackedPoint start = BallTable[4].position;
    for (int i = 0; i < 500; ++i)
        StepSimulation();
    EXPECT_TRUE(TableIsFinite());
    EXPECT_EQ(BallTable[4].position.x, start.x);
    EXPECT_EQ(BallTable[4].position.y, start.y);
    EXPECT_EQ(BallTable[4].position.z, start.z);
}

}  // namespace
