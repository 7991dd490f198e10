// ball-trace STEPS: populate the ball table, step it STEPS times and print every
// ball's fields as IEEE-754 bit patterns, so that two builds can be compared.

#include "sim/balls.h"
#include "sim/step.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Enough for hours of stepping; a larger count would run for years.
const std::uint64_t MAX_STEPS = 1000000000;

enum class StepCount { VALID, NOT_A_NUMBER, TOO_LARGE };

// Accepts only plain decimal digits, at most MAX_STEPS.
StepCount ParseStepCount(const char* text, std::uint64_t& count)
{
    if (*text == '\0')
        return StepCount::NOT_A_NUMBER;
    count = 0;
    bool tooLarge = false;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return StepCount::NOT_A_NUMBER;
        // The count stops growing past the limit, so it never overflows.
        if (!tooLarge) {
            count = count * 10 + (unsigned)(*c - '0');
            tooLarge = count > MAX_STEPS;
        }
    }
    return tooLarge ? StepCount::TOO_LARGE : StepCount::VALID;
}

std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void PrintBall(int index, const Ball& b)
{
    const float fields[] = {b.velocity.x, b.velocity.y, b.velocity.z, b.position.x,
                            b.position.y, b.position.z, b.position.prevX, b.position.prevY,
                            b.position.prevZ, b.red,  b.green, b.blue, b.radius,
                            b.inertialMass, b.gravitationalMass};
    std::printf("%d", index);
    for (float field : fields)
        std::printf(" %08x", (unsigned)Bits(field));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The Windows C runtime would write "\r\n"; traces must be the same bytes everywhere.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::uint64_t steps = 0;
    const StepCount parsed = argc == 2 ? ParseStepCount(argv[1], steps) : StepCount::NOT_A_NUMBER;
    if (parsed == StepCount::TOO_LARGE) {
        std::fprintf(stderr, "ball-trace: STEPS is at most %lu, not %s\n",
                     (unsigned long)MAX_STEPS, argv[1]);
        return 2;
    }
    if (parsed != StepCount::VALID) {
        std::fprintf(stderr, "usage: ball-trace STEPS (a whole number of steps, 0 to %lu)\n",
                     (unsigned long)MAX_STEPS);
        return 2;
    }
    InitBalls();
    for (std::uint64_t step = 0; step < steps; ++step)
        StepSimulation();
    for (int i = 0; i < BALL_COUNT; ++i)
        PrintBall(i, BallTable[i]);
    // A full disk or closed pipe must not pass for a complete table.
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
