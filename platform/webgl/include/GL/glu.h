#pragma once
// The two GLU calls this system makes, for the browser (see <GL/gl.h> in this folder).

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

// As GLU: a zero aspect, a zero depth range or a zero field of view leaves the matrix unchanged.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ);

#ifdef __cplusplus
}
#endif
