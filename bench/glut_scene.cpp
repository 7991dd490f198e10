// A plain freeglut program that draws the demo's scene in its own window from
// its idle loop, as fast as it can: the yardstick for the demo's frame rate.
// Usage: glut_scene SECONDS

#include "gl/surface.h"
#include "render/scene.h"
#include "sim/balls.h"
#include "sim/step.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point countFrom;  // the first second is start-up, as for the demo
Clock::time_point lastFrame;
long frames = 0;
long countedFrames = 0;

void Frame()
{
    DrawScene();
    StepSimulation();
    glutSwapBuffers();
    const Clock::time_point now = Clock::now();
    if (frames++ == 0)
        countFrom = now + std::chrono::seconds(1);
    else if (now >= countFrom)
        ++countedFrames, lastFrame = now;
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("glut scene");
    InitGL();
    InitBalls();
    glutReshapeFunc(ResizeScene);
    glutDisplayFunc(Frame);
    glutIdleFunc(glutPostRedisplay);
    glutTimerFunc(1000u * (unsigned)(seconds + 1), [](int) { glutLeaveMainLoop(); }, 0);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutMainLoop();
    const double elapsed = std::chrono::duration<double>(lastFrame - countFrom).count();
    std::printf("glut_scene: %ld frames in %.3f s = %.2f frames/s\n", countedFrames, elapsed,
                countedFrames / elapsed);
    return 0;
}
