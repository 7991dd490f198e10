// Cost of one frame in a 640 x 480 window, median of many after a warm-up:
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
constexpr int TIMED_FRAMES = 300;

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

// Median milliseconds of `frame`, each run starting from the start-up scene.
double MedianMilliseconds(void (*frame)(), int warmUp, int timed)
{
    ResetToProcessStart();
    InitBalls();
    for (int i = 0; i < warmUp; ++i)
        frame();
    static double samples[TIMED_FRAMES];
    for (int i = 0; i < timed; ++i) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        samples[i] = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count();
    }
    std::nth_element(samples, samples + timed / 2, samples + timed);
    return samples[timed / 2];
}

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

    const double demo = MedianMilliseconds(DemoFrame, WARM_UP_FRAMES, TIMED_FRAMES);
    UseListedSpheres(true);
    const double listed = MedianMilliseconds(DemoFrame, WARM_UP_FRAMES, TIMED_FRAMES);
    const double clearSwap = MedianMilliseconds(ClearAndSwap, WARM_UP_FRAMES, TIMED_FRAMES);
    const double step = MedianMilliseconds(Step, 0, TIMED_FRAMES);
    std::printf("median ms per frame at 640x480 (%d warm-up, %d timed):\n", WARM_UP_FRAMES,
                TIMED_FRAMES);
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
