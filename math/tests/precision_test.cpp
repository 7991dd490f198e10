// Canaries for the build itself: the trajectory is only reproducible when the
// compiler neither fuses a * b + c nor evaluates in a wider or narrower type.

#include <gtest/gtest.h>

#include <cfloat>

namespace {

// volatile keeps the compiler from folding the expression at compile time.
double MultiplyAdd(volatile double a, volatile double b, volatile double c)
{
    return a * b + c;
}

TEST(BuildPrecision, MultiplyAddIsNotFused)
{
    // a * a = 1 + 2^-29 + 2^-60: the last term survives only inside an FMA.
    const double a = 1.0 + 0x1p-30;
    EXPECT_EQ(MultiplyAdd(a, a, -(1.0 + 0x1p-29)), 0.0);
}

TEST(BuildPrecision, DoubleIsEvaluatedAsDouble)
{
    // x87 would keep 64-bit significands and report 1 or 2 here.
    EXPECT_EQ(FLT_EVAL_METHOD, 0);
    volatile double one = 1.0;
    volatile double tiny = 0x1p-53;
    EXPECT_EQ(one + tiny - one, 0.0);
}

}  // namespace
