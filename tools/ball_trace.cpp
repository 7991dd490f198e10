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

// Accepts only plain decimal digits that fit in 64 bits.
bool ParseStepCount(const char* text, std::uint64_t& count)
{
    if (*text == '\0')
        return false;
    count = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        const unsigned digit = (unsigned)(*c - '0');
        if (count > (UINT64_MAX - digit) / 10)
            return false;
        count = count * 10 + digit;
    }
    return true;
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
    if (argc != 2 || !ParseStepCount(argv[1], steps)) {
        std::fprintf(stderr, "usage: ball-trace STEPS (a whole number of steps, 0 or more)\n");
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
