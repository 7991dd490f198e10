#pragma once
// The page's OpenGL, between its three files: opengl.cpp keeps the OpenGL state, wgl.cpp the
// rendering context, and webgl.js (declared here) hands them to WebGL: the canvas's WebGL
// context, one shader program with OpenGL 1.1's lighting equation per vertex, the buffer of
// glBegin/glEnd and the sphere's mesh.

#include <GL/gl.h>

#include <cstddef>

// The lighting switches: GL_LIGHTING, GL_LIGHT0 and GL_COLOR_MATERIAL, 1 when on.
struct WebGlLighting {
    GLint lighting;
    GLint light0;
    GLint colourMaterial;
};

// What WebGL must hold for a draw, kept in wasm memory where webgl.js reads it in place; the
// offsets below are webgl.js's too. Each draw names the parts that changed since the last.
struct WebGlState {
    GLfloat projection[16];
    GLfloat modelview[16];  // a sphere's takes its last column from the sphere
    GLfloat normalMatrix[9];
    WebGlLighting lighting;
    GLint depthTest;
    GLint viewport[4];
};

static_assert(offsetof(WebGlState, modelview) == 64 && offsetof(WebGlState, normalMatrix) == 128 &&
                  offsetof(WebGlState, lighting) == 164 && offsetof(WebGlState, depthTest) == 176 &&
                  offsetof(WebGlState, viewport) == 180,
              "webgl.js reads WebGlState at these offsets");

// The parts of WebGlState a draw sends, as bits of its `changes`.
enum WebGlChange {
    WEBGL_PROJECTION = 1,
    WEBGL_MODELVIEW = 2,
    WEBGL_NORMAL_MATRIX = 4,
    WEBGL_LIGHTING = 8,
    WEBGL_DEPTH_TEST = 16,
    WEBGL_VIEWPORT = 32,
    WEBGL_EVERYTHING = 63,
};

// One sphere of an instanced draw, as webgl.js reads it: the last column of its modelview
// matrix, its colour (constant over its vertices) and its radius.
struct WebGlSphere {
    GLfloat place[4];
    GLfloat colour[4];
    GLfloat radius;
};

static_assert(sizeof(WebGlSphere) == 36, "webgl.js reads spheres 36 bytes apart");

extern "C" {

// --- the surface and its context (wgl.cpp) ---

// A WebGL context on the page's canvas; false when the browser has no WebGL, or no instanced
// drawing (ANGLE_instanced_arrays, which every WebGL of today has).
int WebGlOpenSurface();
// The program and buffers of the rendering context; false when the program does not link.
int WebGlCreateContext();
void WebGlMakeCurrent(int current);
void WebGlDeleteContext();

// --- drawing (opengl.cpp) ---

// Calls without a current context, or while the browser has taken it away, do nothing.
void WebGlClear(GLbitfield mask);
// Sends the parts of `state` marked in `changes`, then draws `count` vertices of ten floats
// each (position, normal, colour).
void WebGlDrawVertices(const WebGlState* state, int changes, GLenum mode, const GLfloat* vertices,
                       int count);
// The sphere's mesh: unit normals, which are its positions too, and triangles.
void WebGlLoadSphere(const GLfloat* unitNormals, int vertexCount, const unsigned short* indices,
                     int indexCount);
// Sends the parts of `state` marked in `changes`, then draws the sphere's mesh once for each
// of `count` spheres, in order.
void WebGlDrawSpheres(const WebGlState* state, int changes, const WebGlSphere* spheres, int count);

// --- what webgl.js calls (opengl.cpp) ---

// The browser gave back the context it had taken away, with nothing in it: webgl.js has made
// its program and buffers again, and everything else is sent again before the next draw.
void WebGlContextRestored();

}  // extern "C"

// Draws what is still waiting (spheres, which wait for the next to join them), as OpenGL
// flushes: before the context changes, and before the program gives the browser its turn
// (wgl.cpp, window.cpp), so that nothing waits while the browser may take the context away.
void DrawPendingGl();
// A context was made current (wgl.cpp): every matrix, switch and the sphere's mesh are sent
// to it again before its next draw.
void ResendGlState();
