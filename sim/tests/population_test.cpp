#include "sim/balls.h"

#include "sim/tests/fresh_table.h"
#include "tests/support/float_bits.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The generator state whose next draw leaves the generator in `state`.
std::uint32_t StateBefore(std::uint32_t state)
{
    std::uint32_t inverse = 214013u;  // Newton's iteration for 1 / 214013 mod 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    return (state - 2531011u) * inverse;
}

class Population : public ::testing::Test {
protected:
    void SetUp() override { ResetToProcessStart(); }
};

TEST_F(Population, GeneratorStartsFromOneAndKeepsFifteenBits)
{
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(RandomInt(), value);
    for (int i = 0; i < 10000; ++i) {
        const int value = RandomInt();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RANDOM_MAX);
    }
}

TEST_F(Population, RandomFloatIsClosedAtBothEnds)
{
    // Draw 41 first: 41 / 32767 * 2000, divided before multiplied.
    EXPECT_EQ(RandomFloat(2000), (41 / 32767.0) * 2000);
    randomState = StateBefore(0);  // next draw 0
    EXPECT_EQ(RandomFloat(2000) - 1000, -1000.0);
    randomState = StateBefore(0x7fff0000);  // next draw 32767
    EXPECT_EQ(RandomFloat(2000) - 1000, 1000.0);
}

TEST_F(Population, BallZeroMatchesTheDoublePrecisionFormulasToTheBit)
{
    InitBalls();
    const Ball& b = BallTable[0];
    EXPECT_SAME_BITS(b.position.x, FloatFromBits(0xc419590f));  // -613.39154
    EXPECT_SAME_BITS(b.position.y, FloatFromBits(0x42fe575d));  // 127.17063
    EXPECT_SAME_BITS(b.position.z, FloatFromBits(0xc4795fd7));  // -997.49750
    EXPECT_SAME_BITS(b.inertialMass, FloatFromBits(0x4321bf83));       // 161.74809
    EXPECT_SAME_BITS(b.gravitationalMass, FloatFromBits(0x42ea00f4));  // 117.00186
    EXPECT_SAME_BITS(b.red, 0.0f);
    EXPECT_SAME_BITS(b.green, 0.0f);
    EXPECT_SAME_BITS(b.blue, FloatFromBits(0x3eebf32e));    // 0.46083969
    EXPECT_SAME_BITS(b.radius, FloatFromBits(0x421c00a3));  // 39.000622
    EXPECT_NEAR(b.position.x, -613.39154, 1e-5);
    EXPECT_NEAR(b.blue, 0.46083969, 1e-8);
    for (float zero : {b.velocity.x, b.velocity.y, b.velocity.z, b.position.prevX,
                       b.position.prevY, b.position.prevZ})
        EXPECT_SAME_BITS(zero, 0.0f);
}

TEST(PopulationNegativeControl, SinglePrecisionThroughoutGivesOtherBits)
{
    // What ball 0 would hold if the double evaluation were "simplified" away:
    // the bit-exact test above must be able to tell the difference.
    const float x = (6334 / 32767.0f) * 2000.0f - 1000.0f;
    const float y = (18467 / 32767.0f) * 2000.0f - 1000.0f;
    const float gravitational = (19169 / 32767.0f) * 200.0f;
    EXPECT_NE(FloatBits(x), 0xc419590fu);
    EXPECT_NE(FloatBits(y), 0x42fe575du);
    EXPECT_NE(FloatBits(gravitational), 0x42ea00f4u);
    EXPECT_NEAR(x, -613.39148f, 1e-5);
}

TEST_F(Population, AllFiftyBallsAreBlueWithinTheDrawnRanges)
{
    InitBalls();
    for (const Ball& b : BallTable) {
        EXPECT_EQ(b.red, 0.0f);
        EXPECT_EQ(b.green, 0.0f);
        EXPECT_GE(b.blue, 1.0f / 3);
        EXPECT_LE(b.blue, 1.0f);
        EXPECT_GT(b.gravitationalMass, 0.0f);
        EXPECT_LE(b.gravitationalMass, 200.0f);
        EXPECT_GT(b.inertialMass, 0.0f);
        EXPECT_LE(b.inertialMass, 200.0f);
        for (float c : {b.position.x, b.position.y, b.position.z}) {
            EXPECT_GE(c, -1000.0f);
            EXPECT_LE(c, 1000.0f);
        }
    }
    EXPECT_EQ(randomState, 0xacf7d0dbu) << "InitBalls makes exactly 250 draws";
}

TEST_F(Population, ZeroGravitationalDrawGivesARedBallOfNoSize)
{
    // Start four steps before the state whose draw is 0, so that the fifth
    // draw, the gravitational mass, is 0.
    std::uint32_t state = 0;
    for (int i = 0; i < 5; ++i)
        state = StateBefore(state);
    randomState = state;
    Ball ball{};
    ball.RandomizeBall();
    EXPECT_EQ(ball.gravitationalMass, 0.0f);
    EXPECT_EQ(ball.blue, 0.0f);
    EXPECT_EQ(ball.radius, 0.0f);
    EXPECT_GT(ball.inertialMass, 0.0f);
    EXPECT_SAME_BITS(ball.red, (float)(1 - (double)(float)((double)ball.inertialMass / 300)));
}

TEST_F(Population, TwoPopulationsAreIdentical)
{
    InitBalls();
    Ball first[BALL_COUNT];
    std::memcpy(first, BallTable, sizeof first);
    ResetToProcessStart();
    InitBalls();
    // Identical to the bit is the point, so the object representations are compared.
    EXPECT_EQ(std::memcmp(first, BallTable, sizeof first), 0);  // NOLINT(bugprone-suspicious-memory-comparison)
}

}  // namespace
