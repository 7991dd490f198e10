#include "bench/bench_sphere.h"

#include "render/sphere.h"
#include "sim/balls.h"

#include <GL/freeglut.h>

namespace {

bool listedSpheres = false;

struct ListedSphere {
    double radius;
    GLuint list;
};

ListedSphere lists[BALL_COUNT];
int listCount = 0;

GLuint ListFor(double radius)
{
    for (int i = 0; i < listCount; ++i)
        if (lists[i].radius == radius)
            return lists[i].list;
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glutSolidSphere(radius, SPHERE_SLICES, SPHERE_STACKS);
    glEndList();
    if (listCount < BALL_COUNT)
        lists[listCount++] = {radius, list};
    return list;
}

}  // namespace

void UseListedSpheres(bool listed)
{
    listedSpheres = listed;
}

void SolidSphere(double radius)
{
    if (listedSpheres)
        glCallList(ListFor(radius));
    else
        glutSolidSphere(radius, SPHERE_SLICES, SPHERE_STACKS);
}
