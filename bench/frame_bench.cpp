// Cost of one frame in a 640 x 480 window, median of many after a warm-up, the
// kinds of frame taking turns:
// the demo's frame (draw, input, step, swap), the same with the spheres
// replayed from display lists, clear + swap alone, and the step alone.
// Needs an X server (DISPLAY).

#include "bench/bench_sphere.h"
#include "render/camera.h"
#include "render/scene.h"
#include "sim/balls.h"
#include "sim/step.h"
#include "sim/tests/fresh_table.h"
#include "tests/support/gl_window.h"

#include <windows.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

constexpr int WARM_UP_FRAMES = 300;  // freeglut's first hundred frames are slow
constexpr int ROUNDS = 5;             // the modes alternate, so load hits them alike
constexpr int FRAMES_PER_ROUND = 60;
constexpr int TIMED_FRAMES = ROUNDS * FRAMES_PER_ROUND;

HDC deviceContext;

void DemoFrame()
{
    DrawScene();
    HandleInput();
    StepSimulation();
    SwapBuffers(deviceContext);
}

void ClearAndSwap()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(deviceContext);
}

void Step()
{
    StepSimulation();
}

struct Mode {
    void (*frame)();
    bool listedSpheres;
    double samples[TIMED_FRAMES];
    int sampleCount;
};

// Each round draws the same frames, from the start-up scene on.
void TimeRound(Mode& mode)
{
    UseListedSpheres(mode.listedSpheres);
    ResetToProcessStart();
    InitBalls();
    for (int i = 0; i < FRAMES_PER_ROUND; ++i) {
        const auto start = std::chrono::steady_clock::now();
        mode.frame();
        mode.samples[mode.sampleCount++] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
}

void WarmUp(const Mode& mode)
{
    UseListedSpheres(mode.listedSpheres);
    for (int i = 0; i < WARM_UP_FRAMES; ++i)
        mode.frame();
}

double Median(Mode& mode)
{
    std::nth_element(mode.samples, mode.samples + mode.sampleCount / 2,
                     mode.samples + mode.sampleCount);
    return mode.samples[mode.sampleCount / 2];
}

Mode modes[] = {
    {DemoFrame, false, {}, 0},
    {DemoFrame, true, {}, 0},
    {ClearAndSwap, false, {}, 0},
    {Step, false, {}, 0},
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 1;
    char name[] = "frame_bench";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    deviceContext = OpenGlWindow(640, 480);
    if (deviceContext == NULL)
        return 1;

    for (const Mode& mode : modes)
        WarmUp(mode);
    for (int round = 0; round < ROUNDS; ++round)
        for (Mode& mode : modes)
            TimeRound(mode);
    const double demo = Median(modes[0]);
    const double listed = Median(modes[1]);
    const double clearSwap = Median(modes[2]);
    const double step = Median(modes[3]);
    std::printf("median ms per frame at 640x480 (%d warm-up, %d timed in %d alternating rounds):\n",
                WARM_UP_FRAMES, TIMED_FRAMES, ROUNDS);
    std::printf("  demo frame (draw, input, step, swap)  %8.3f\n", demo);
    std::printf("  same, spheres from display lists      %8.3f  (demo is %+.1f %%)\n", listed,
                100 * (demo / listed - 1));
    std::printf("  clear + swap                          %8.3f\n", clearSwap);
    std::printf("  simulation step alone                 %8.4f  (%.2f %% of the demo frame)\n",
                step, 100 * step / demo);
    std::printf("  expected ticks/s min(100, 1000 / frame ms) = %.1f\n",
                std::min(100.0, 1000 / demo));
    return 0;
}
