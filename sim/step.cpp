#include "sim/step.h"

#include "sim/balls.h"

#include <cmath>

// SSE2 takes the square roots and divisions two pairs at a time where it is the
// arithmetic (x86-64, and 32-bit x86 built for SSE2); every other target, and a
// build that defines BOULLES_SCALAR_STEP, takes them one pair at a time. The two
// give the same bits.
#if (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)) && \
    !defined(BOULLES_SCALAR_STEP)
#define BOULLES_SSE2_STEP
#include <emmintrin.h>
#endif

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

#ifdef BOULLES_SSE2_STEP

// Two floats of `from` widened to the two lanes of a double vector.
__m128d WidenTwo(const float* from)
{
    return _mm_cvtps_pd(_mm_loadl_pi(_mm_setzero_ps(), (const __m64*)from));
}

static_assert(BALL_COUNT % 2 == 0, "the pairs are taken two at a time");

// For every ball j, its distance from ball `index` and k = G * gi * gj / distance,
// two balls at a time: SSE2's packed square root and division round each lane
// exactly as the scalar ones do, at half the cost.
void PullFactors(const PullSources& s, int index, double (&distance)[BALL_COUNT],
                 float (&k)[BALL_COUNT])
{
    const __m128d gravityTimesMass =
        _mm_set1_pd((double)SimulationParameters.gravitationalConstant * s.mass[index]);
    const __m128d selfX = _mm_set1_pd(s.x[index]);
    const __m128d selfY = _mm_set1_pd(s.y[index]);
    const __m128d selfZ = _mm_set1_pd(s.z[index]);
    for (int j = 0; j < BALL_COUNT; j += 2) {
        // The pull's length is G * gi * gj at every distance, rounded to a float.
        const __m128d strength =
            _mm_cvtps_pd(_mm_cvtpd_ps(_mm_mul_pd(gravityTimesMass, WidenTwo(&s.mass[j]))));
        const __m128d dx = _mm_sub_pd(selfX, WidenTwo(&s.x[j]));
        const __m128d dy = _mm_sub_pd(selfY, WidenTwo(&s.y[j]));
        const __m128d dz = _mm_sub_pd(selfZ, WidenTwo(&s.z[j]));
        const __m128d squared =
            _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz));
        const __m128d d = _mm_sqrt_pd(squared);
        _mm_storeu_pd(&distance[j], d);
        _mm_storel_pi((__m64*)&k[j], _mm_cvtpd_ps(_mm_div_pd(strength, d)));
    }
}

#else

// For every ball j, its distance from ball `index` and k = G * gi * gj / distance.
void PullFactors(const PullSources& s, int index, double (&distance)[BALL_COUNT],
                 float (&k)[BALL_COUNT])
{
    const double gravityTimesMass =
        (double)SimulationParameters.gravitationalConstant * s.mass[index];
    for (int j = 0; j < BALL_COUNT; ++j) {
        // The pull's length is G * gi * gj at every distance, rounded to a float.
        const float strength = (float)(gravityTimesMass * s.mass[j]);
        const double dx = (double)s.x[index] - s.x[j];
        const double dy = (double)s.y[index] - s.y[j];
        const double dz = (double)s.z[index] - s.z[j];
        distance[j] = std::sqrt(dx * dx + dy * dy + dz * dz);
        k[j] = (float)(strength / distance[j]);
    }
}

#endif

// The pull on ball `index`: for each other ball j, the displacement towards it
// scaled by k, summed in index order.
Vector SumOfPulls(const PullSources& s, int index)
{
    double distance[BALL_COUNT];
    float k[BALL_COUNT];
    PullFactors(s, index, distance, k);
    Vector sum;
    sum.Set(0, 0, 0);
    for (int j = 0; j < BALL_COUNT; ++j) {
        Vector towards = {(float)((double)s.x[j] - s.x[index]),
                          (float)((double)s.y[j] - s.y[index]),
                          (float)((double)s.z[j] - s.z[index]), 0.0f};
        // A ball does not pull itself (its zero displacement is added as it is),
        // and coincident balls have no direction between them: no pull, not NaN.
        if (j != index && distance[j] != 0)
            towards = Scale(towards, k[j]);
        sum = Add(sum, towards);
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
