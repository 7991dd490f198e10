#include "render/scene.h"

#include "render/camera.h"
#include "render/sphere.h"
#include "sim/balls.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

struct Axis {
    GLfloat red, green, blue;
    GLint from[3];
    GLint to[3];
};

// Red, green, blue go with X, Z, Y in that order.
const Axis AXES[] = {
    {1, 0, 0, {-1000, 0, 0}, {1000, 0, 0}},
    {0, 1, 0, {0, 0, 1000}, {0, 0, -1000}},
    {0, 0, 1, {0, 1000, 0}, {0, -1000, 0}},
};

void DrawAxes()
{
    for (const Axis& axis : AXES) {
        glColor3f(axis.red, axis.green, axis.blue);
        glBegin(GL_LINES);
        glVertex3i(axis.from[0], axis.from[1], axis.from[2]);
        glVertex3i(axis.to[0], axis.to[1], axis.to[2]);
        glEnd();
    }
}

}  // namespace

void DrawScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt((double)CameraState.distance, 0, 0, 0, 0, 0, 0, 1, 0);
    glRotatef(CameraState.pitch, 0, 0, 1);
    glRotatef(CameraState.yaw, 0, 1, 0);
    if (CameraState.axesVisible != 0)
        DrawAxes();
    for (const Ball& ball : BallTable)
        DrawSphere(ball.position.x, ball.position.y, ball.position.z, ball.red, ball.green,
                   ball.blue, ball.radius);
}

void DrawSphere(float x, float y, float z, float r, float g, float b, float radius)
{
    glTranslatef(x, y, z);
    glColor3f(r, g, b);
    SolidSphere((double)radius);
    glColor3f(1, 1, 1);
    // The opposite translation rather than a matrix push: any rounding it
    // leaves lasts only until the next frame loads the identity.
    glTranslatef(-x, -y, -z);
}
