#pragma once
// The GLUT calls this system makes, for the browser (see <GL/gl.h> in this folder).

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

// Nothing to set up in the browser: the arguments are left as they are.
void glutInit(int* argc, char** argv);

// A sphere of unit normals scaled by the radius, stacks along its own Z axis. Its mesh is
// built once and kept by the browser, for one subdivision at a time.
void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks);

#ifdef __cplusplus
}
#endif
