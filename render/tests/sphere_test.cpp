// The built-in sphere against freeglut's, drawn into a window on a private Xvfb
// and read back: the two pictures must agree within a small tolerance.

#include <gtest/gtest.h>

#include "render/scene.h"
#include "render/sphere.h"
#include "tests/support/gl_window.h"
#include "tests/support/xvfb_server.h"

#include <windows.h>

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr int SIZE = 200;

using Pixels = std::vector<unsigned char>;

// A lit blue sphere of radius 1 seen from distance 3, as DrawScene places balls.
Pixels Draw(void (*sphere)(double))
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3, 0, 0, 0, 0, 0, 0, 1, 0);
    glColor3f(0.2f, 0.4f, 1.0f);
    sphere(1.0);
    Pixels pixels(SIZE * SIZE * 3);
    glReadPixels(0, 0, SIZE, SIZE, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void GlutSphere(double radius)
{
    glutSolidSphere(radius, SPHERE_SLICES, SPHERE_STACKS);
}

void CoarseGlutSphere(double radius)
{
    glutSolidSphere(radius, 8, 6);
}

struct Comparison {
    long covered = 0;    // pixels either picture draws on
    long differing = 0;  // pixels whose colour differs by more than the tolerance
};

Comparison Compare(const Pixels& a, const Pixels& b)
{
    Comparison result;
    for (size_t i = 0; i < a.size(); i += 3) {
        bool lit = false;
        bool differs = false;
        for (size_t c = i; c < i + 3; ++c) {
            lit = lit || a[c] != 0 || b[c] != 0;
            differs = differs || std::abs(a[c] - b[c]) > 6;
        }
        result.covered += lit;
        result.differing += differs;
    }
    return result;
}

TEST(SphereOnXvfb, BuiltInSphereDrawsFreeglutsPicture)
{
    XvfbServer server;
    ASSERT_TRUE(server.Start());
    server.UseAsDefault();
    ASSERT_NE(OpenGlWindow(SIZE, SIZE), (HDC)NULL);
    int argc = 1;
    char name[] = "sphere_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);

    const Pixels glut = Draw(GlutSphere);
    const Pixels builtIn = Draw(SolidSphere);
    const Comparison same = Compare(glut, builtIn);
    EXPECT_GT(same.covered, SIZE * SIZE / 5) << "the sphere should fill much of the window";
    EXPECT_LT(same.differing, same.covered / 100) << same.differing << " of " << same.covered;

    // Negative control: a visibly coarser sphere must fail the same tolerance.
    const Comparison coarse = Compare(Draw(CoarseGlutSphere), builtIn);
    EXPECT_GT(coarse.differing, coarse.covered / 100);

    // freeglut's own connection must close before the server goes, or its
    // clean-up at exit would find the server gone. The layer's connection is
    // left to the end of the process: closing it unloads Mesa's driver, which
    // leaks a few blocks that LeakSanitizer cannot even name.
    glutExit();
}

}  // namespace
