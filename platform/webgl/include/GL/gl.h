#pragma once
// The part of OpenGL 1.1 this system calls, for the browser, over WebGL (platform/webgl).
// Application code includes <GL/gl.h> and gets this file in the web build, Mesa's elsewhere.
//
// Provided: glEnable (GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL), glClear, glFlush,
// glViewport, glMatrixMode, glLoadIdentity, glRotatef, glTranslatef, glColor3f, glNormal3fv,
// glBegin and glEnd (GL_LINES, GL_TRIANGLE_STRIP) with glVertex3i and glVertex3f; gluPerspective
// and gluLookAt (<GL/glu.h>); glutInit and glutSolidSphere (<GL/freeglut.h>).
//
// Where behaviour differs from OpenGL 1.1:
// - Every other state keeps its initial value and cannot be set: black clear colour, clear depth 1,
//   GL_LESS, light 0 white and directional from (0, 0, 1, 0) in eye space, global ambient light
//   0.2, colour material tracking ambient and diffuse, no specular reflectance, smooth shading,
//   no culling, no normalisation of normals. Lighting is computed per vertex, as OpenGL does.
// - Matrix products are computed in double precision and stored as floats; there are no
//   matrix stacks (glPushMatrix) and no texture matrix.
// - At most 1024 vertices between glBegin and glEnd; further ones are dropped. glutSolidSphere
//   draws nothing when its mesh would have more than 65536 vertices (slices + 1 by stacks + 1).
// - One rendering context (one canvas); calls without a current context do nothing, and so do
//   calls while the browser has taken the WebGL context away (a GPU reset): when it gives it
//   back, the program, buffers, mesh and every state are made and sent again.
// - Errors are not recorded: there is no glGetError. The depth buffer has the bits the
//   browser gives (24 in Chromium), whatever was asked for.
// - Spheres are drawn, in order, as late as the next other draw, glClear, glFlush (which the
//   backend calls before SwapBuffers and before each wait for the browser) or a change of
//   context: one instanced draw for those that differ only in translation, colour and radius.

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef unsigned int GLuint;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;
typedef double GLdouble;

#define GL_LINES 0x0001
#define GL_TRIANGLE_STRIP 0x0005

#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000

#define GL_DEPTH_TEST 0x0B71
#define GL_LIGHTING 0x0B50
#define GL_COLOR_MATERIAL 0x0B57
#define GL_LIGHT0 0x4000

#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701

void glEnable(GLenum capability);
void glClear(GLbitfield mask);
void glFlush(void);
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);

void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);

void glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void glNormal3fv(const GLfloat* normal);
void glBegin(GLenum mode);
void glVertex3i(GLint x, GLint y, GLint z);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glEnd(void);

#ifdef __cplusplus
}
#endif
