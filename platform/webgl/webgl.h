#pragma once
// The page's OpenGL over WebGL: what a backend calls to open the canvas's surface and its one
// rendering context, and what opengl.cpp, which keeps the OpenGL state, and webgl.js (declared
// here), which hands it to WebGL, share: the canvas's WebGL context, one shader program with
// OpenGL 1.1's lighting equation per vertex, the buffer of glBegin/glEnd and the sphere's mesh.
// The library calls nothing of a backend.

#include <GL/gl.h>

#include <cstddef>

// The lighting switches: GL_LIGHTING, GL_LIGHT0 and GL_COLOR_MATERIAL, 1 when on.
struct WebGlLighting {
    GLint lighting;
    GLint light0;
    GLint colourMaterial;
};

// What WebGL must hold for a draw, kept in wasm memory where webgl.js reads it in place. Each
// draw names the parts that changed since the last.
struct WebGlState {
    GLfloat projection[16];
    GLfloat modelview[16];  // a sphere's takes its last column from the sphere
    GLfloat normalMatrix[9];
    WebGlLighting lighting;
    GLint depthTest;
    GLint viewport[4];
};

// The parts of WebGlState, each with the bit of `changes` that sends it: 1 << its place in this
// list. webgl.js learns their names and places from the list when the surface opens.
#define WEBGL_STATE_PARTS(PART)             \
    PART(WEBGL_PROJECTION, projection)      \
    PART(WEBGL_MODELVIEW, modelview)        \
    PART(WEBGL_NORMAL_MATRIX, normalMatrix) \
    PART(WEBGL_LIGHTING, lighting)          \
    PART(WEBGL_DEPTH_TEST, depthTest)       \
    PART(WEBGL_VIEWPORT, viewport)

#define WEBGL_PART_INDEX(change, field) change##_INDEX,
enum WebGlPartIndex { WEBGL_STATE_PARTS(WEBGL_PART_INDEX) WEBGL_PART_COUNT };
#undef WEBGL_PART_INDEX

#define WEBGL_PART_BIT(change, field) change = 1 << change##_INDEX,
enum WebGlChange {
    WEBGL_STATE_PARTS(WEBGL_PART_BIT) WEBGL_EVERYTHING = (1 << WEBGL_PART_COUNT) - 1
};
#undef WEBGL_PART_BIT

// One vertex of glBegin/glEnd, as webgl.js reads it.
struct WebGlVertex {
    GLfloat position[3];
    GLfloat normal[3];
    GLfloat colour[4];
};

// One sphere of an instanced draw, as webgl.js reads it: the last column of its modelview
// matrix, its colour (constant over its vertices) and its radius.
struct WebGlSphere {
    GLfloat place[4];
    GLfloat colour[4];
    GLfloat radius;
};

// --- what a backend calls ---

// The canvas's WebGL surface; false when the browser has no WebGL, or no instanced drawing
// (ANGLE_instanced_arrays, which every WebGL of today has).
bool OpenCanvasSurface();
// Makes the rendering context current, or none; what waits is drawn first, and a context made
// current gets every matrix, switch and the sphere's mesh again before its next draw.
void MakeGlContextCurrent(bool current);
void DeleteGlContext();
// glFlush (<GL/gl.h>) draws what waits: a backend calls it before it gives the browser its turn,
// so that nothing waits while the browser may take the context away.

extern "C" {

// The program and buffers of the rendering context, on the open surface; false when the program
// does not link.
int WebGlCreateContext();

// --- between opengl.cpp and webgl.js ---

// Opens the surface, if not yet open, with what webgl.js reads in wasm memory: the names of the
// fields it reads, space-separated ("WebGlState.projection ... WebGlSphere.place ...", every
// part of WebGlState first, in the order of WEBGL_STATE_PARTS), each field's offset and size in
// bytes as two ints, and an int that webgl.js sets when the browser gives back the context it
// had taken away, with nothing in it.
int WebGlOpenSurface(const char* fieldNames, const int* fieldPlaces, int* contextRestored);
void WebGlMakeCurrent(int current);
void WebGlDeleteContext();

// Calls without a current context, or while the browser has taken it away, do nothing.
void WebGlClear(GLbitfield mask);
// Sends the parts of `state` marked in `changes`, then draws `count` vertices.
void WebGlDrawVertices(const WebGlState* state, int changes, GLenum mode,
                       const WebGlVertex* vertices, int count);
// The sphere's mesh: unit normals, which are its positions too, and triangles.
void WebGlLoadSphere(const GLfloat* unitNormals, int vertexCount, const unsigned short* indices,
                     int indexCount);
// Sends the parts of `state` marked in `changes`, then draws the sphere's mesh once for each
// of `count` spheres, in order.
void WebGlDrawSpheres(const WebGlState* state, int changes, const WebGlSphere* spheres, int count);

}  // extern "C"
