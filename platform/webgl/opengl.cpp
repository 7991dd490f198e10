// The OpenGL 1.1, GLU and GLUT calls of <GL/gl.h> in this folder, and the rendering context a
// backend opens (webgl.h): the state machine lives
// here; webgl.js draws with it. Matrices, the current colour and normal, the viewport and the
// capabilities are kept as OpenGL keeps them and reach WebGL only when a draw needs them, and
// only what changed since the last draw. Spheres drawn one after another that differ only in
// where they are, their colour and their size reach WebGL as one draw.

#include "webgl.h"

#include "render/sphere_rings.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// --- state ---

// Column-major, as OpenGL stores matrices: element (row, column) is m[column * 4 + row].
struct Matrix {
    GLfloat m[16];
};

const Matrix IDENTITY = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

const int IMMEDIATE_CAPACITY = 1024;

struct State {
    GLenum matrixMode = GL_MODELVIEW;
    Matrix modelview = IDENTITY;
    Matrix projection = IDENTITY;
    WebGlLighting lighting = {0, 0, 0};
    GLint depthTest = 0;
    bool viewportSet = false;  // until glViewport, WebGL's is the canvas, as OpenGL's the window
    GLint viewport[4] = {0, 0, 0, 0};
    GLfloat colour[4] = {1, 1, 1, 1};
    GLfloat normal[3] = {0, 0, 1};
    GLenum primitive = 0;
    int vertexCount = 0;
    WebGlVertex vertices[IMMEDIATE_CAPACITY];
};

// What WebGL holds, as last sent (webgl.js reads `held` in place). A new or restored context
// holds nothing: everything goes with its first draw.
struct Sent {
    WebGlState held;
    bool nothing = true;
    GLint sphereSlices = 0;  // the mesh WebGL holds; 0 for none
    GLint sphereStacks = 0;
};

const int SPHERE_BATCH_CAPACITY = 256;

// Spheres not yet drawn: all with the state in `held`, but for what each instance gives.
struct SphereBatch {
    int changes;  // the parts of `held` to send first
    int count;
    WebGlSphere spheres[SPHERE_BATCH_CAPACITY];
};

State state;
Sent sent;
SphereBatch batch;
int contextRestored;  // set by webgl.js: WebGL holds nothing again

// --- matrices ---

Matrix& CurrentMatrix()
{
    if (state.matrixMode == GL_PROJECTION)
        return state.projection;
    return state.modelview;
}

// current = current x by, as glMultMatrix does; products in double, stored as floats.
void MultiplyCurrent(const double by[16])
{
    Matrix& current = CurrentMatrix();
    Matrix product;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += (double)current.m[k * 4 + row] * by[column * 4 + k];
            product.m[column * 4 + row] = (GLfloat)sum;
        }
    current = product;
}

void Translate(double x, double y, double z)
{
    const double by[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    MultiplyCurrent(by);
}

// Normals go to eye space by the inverse transpose of the modelview's upper 3x3: its cofactors
// over its determinant. A singular modelview gives the identity, as Mesa does.
void NormalMatrix(const Matrix& modelview, GLfloat out[9])
{
    auto a = [&](int row, int column) { return (double)modelview.m[column * 4 + row]; };
    double cofactor[3][3];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int r0 = (row + 1) % 3, r1 = (row + 2) % 3;
            const int c0 = (column + 1) % 3, c1 = (column + 2) % 3;
            cofactor[row][column] = a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0);
        }
    const double determinant =
        a(0, 0) * cofactor[0][0] + a(0, 1) * cofactor[0][1] + a(0, 2) * cofactor[0][2];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            out[column * 3 + row] = determinant == 0
                                        ? (GLfloat)(row == column)
                                        : (GLfloat)(cofactor[row][column] / determinant);
}

// --- drawing ---

// The normal matrix depends on the upper 3x3 alone, which translations leave as it was.
bool SameUpper3x3(const GLfloat a[16], const GLfloat b[16])
{
    for (int column = 0; column < 3; ++column)
        if (!std::equal(a + column * 4, a + column * 4 + 3, b + column * 4))
            return false;
    return true;
}

// By value: a NaN is always sent again, and 0 and -0, which draw alike, are one.
template <typename T>
bool Same(const T& a, const T& b)
{
    return a == b;
}

// Columns 0 to 2: a sphere's own place is the last column (translations change that alone).
bool SameExceptLastColumn(const GLfloat a[16], const GLfloat b[16])
{
    return std::equal(a, a + 12, b);
}

template <typename T, size_t N>
bool Same(const T (&a)[N], const T (&b)[N])
{
    return std::equal(a, a + N, b);
}

bool Same(const WebGlLighting& a, const WebGlLighting& b)
{
    return a.lighting == b.lighting && a.light0 == b.light0 && a.colourMaterial == b.colourMaterial;
}

// Makes WebGL's copy of one part equal to `value`, marking `change` when that sends something.
template <typename T>
void Update(T& held, const T& value, int change, int& changes)
{
    if ((changes & change) == 0 && Same(held, value))
        return;
    std::memcpy(&held, &value, sizeof(T));
    changes |= change;
}

// Brings WebGL's copy up to the state for a draw; returns the parts to send.
int PrepareDraw()
{
    if (contextRestored) {
        contextRestored = 0;
        sent = Sent();
    }
    int changes = sent.nothing ? WEBGL_EVERYTHING : 0;
    sent.nothing = false;
    WebGlState& held = sent.held;
    if ((changes & WEBGL_NORMAL_MATRIX) != 0 || !SameUpper3x3(held.modelview, state.modelview.m)) {
        NormalMatrix(state.modelview, held.normalMatrix);
        changes |= WEBGL_NORMAL_MATRIX;
    }
    Update(held.projection, state.projection.m, WEBGL_PROJECTION, changes);
    Update(held.modelview, state.modelview.m, WEBGL_MODELVIEW, changes);
    Update(held.lighting, state.lighting, WEBGL_LIGHTING, changes);
    Update(held.depthTest, state.depthTest, WEBGL_DEPTH_TEST, changes);
    if (state.viewportSet)
        Update(held.viewport, state.viewport, WEBGL_VIEWPORT, changes);
    else
        changes &= ~WEBGL_VIEWPORT;
    return changes;
}

// Whether a sphere with this mesh, drawn now, can join the spheres waiting: WebGL would hold
// the same for it, but for its place, colour and size.
bool JoinsBatch(GLint slices, GLint stacks)
{
    const WebGlState& held = sent.held;
    return slices == sent.sphereSlices && stacks == sent.sphereStacks &&
           SameExceptLastColumn(held.modelview, state.modelview.m) &&
           Same(held.projection, state.projection.m) && Same(held.lighting, state.lighting) &&
           held.depthTest == state.depthTest &&
           (!state.viewportSet || Same(held.viewport, state.viewport));
}

void AddVertex(GLfloat x, GLfloat y, GLfloat z)
{
    if (state.vertexCount == IMMEDIATE_CAPACITY)
        return;
    WebGlVertex& vertex = state.vertices[state.vertexCount++];
    const GLfloat position[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        vertex.position[i] = position[i];
        vertex.normal[i] = state.normal[i];
    }
    for (int i = 0; i < 4; ++i)
        vertex.colour[i] = state.colour[i];
}

// The shared rings of unit normals; two triangles per quad between neighbouring rings.
void LoadSphere(GLint slices, GLint stacks)
{
    const int ring = slices + 1;
    const std::vector<GLfloat> normals = SphereRingNormals(slices, stacks);
    std::vector<unsigned short> indices;
    for (int stack = 0; stack < stacks; ++stack)
        for (int slice = 0; slice < slices; ++slice) {
            const unsigned short upper = (unsigned short)(stack * ring + slice);
            const unsigned short lower = (unsigned short)(upper + ring);
            const unsigned short quad[6] = {upper,
                                            lower,
                                            (unsigned short)(upper + 1),
                                            (unsigned short)(upper + 1),
                                            lower,
                                            (unsigned short)(lower + 1)};
            indices.insert(indices.end(), quad, quad + 6);
        }
    WebGlLoadSphere(normals.data(), (int)normals.size() / 3, indices.data(), (int)indices.size());
    sent.sphereSlices = slices;
    sent.sphereStacks = stacks;
}

// Draws what is still waiting (spheres, which wait for the next to join them), as OpenGL
// flushes: before another draw, before the context changes and on glFlush.
void DrawPendingGl()
{
    if (batch.count == 0)
        return;
    WebGlDrawSpheres(&sent.held, batch.changes, batch.spheres, batch.count);
    batch.count = 0;
}

// --- what webgl.js reads ---

// Every field webgl.js reads, by record: the parts of WebGlState first, in the order of their
// bits of `changes`; then a sphere's and a vertex's, each record's fields filling it, so that a
// field added to one fails here until it is listed, and in webgl.js until that reads it.
#define SPHERE_FIELDS(FIELD) \
    FIELD(WebGlSphere, place) FIELD(WebGlSphere, colour) FIELD(WebGlSphere, radius)
#define VERTEX_FIELDS(FIELD) \
    FIELD(WebGlVertex, position) FIELD(WebGlVertex, normal) FIELD(WebGlVertex, colour)

#define FIELD_NAME(record, field) #record "." #field " "
#define FIELD_PLACE(record, field) (int)offsetof(record, field), (int)sizeof(record::field),
#define FIELD_SIZE(record, field) \
    +sizeof(record::field)  // NOLINT(bugprone-macro-parentheses): a term
#define STATE_NAME(change, field) FIELD_NAME(WebGlState, field)
#define STATE_PLACE(change, field) FIELD_PLACE(WebGlState, field)
#define STATE_SIZE(change, field) FIELD_SIZE(WebGlState, field)

static_assert(0 WEBGL_STATE_PARTS(STATE_SIZE) == sizeof(WebGlState),
              "every part of WebGlState is in WEBGL_STATE_PARTS");
static_assert(0 SPHERE_FIELDS(FIELD_SIZE) == sizeof(WebGlSphere),
              "every field of a sphere is listed");
static_assert(0 VERTEX_FIELDS(FIELD_SIZE) == sizeof(WebGlVertex),
              "every field of a vertex is listed");

const char FIELD_NAMES[] =
    WEBGL_STATE_PARTS(STATE_NAME) SPHERE_FIELDS(FIELD_NAME) VERTEX_FIELDS(FIELD_NAME);
const int FIELD_PLACES[] = {WEBGL_STATE_PARTS(STATE_PLACE) SPHERE_FIELDS(FIELD_PLACE)
                                VERTEX_FIELDS(FIELD_PLACE)};

}  // namespace

// --- what a backend calls ---

bool OpenCanvasSurface()
{
    return WebGlOpenSurface(FIELD_NAMES, FIELD_PLACES, &contextRestored) != 0;
}

void MakeGlContextCurrent(bool current)
{
    DrawPendingGl();
    WebGlMakeCurrent(current ? 1 : 0);
    if (current)
        sent = Sent();
}

void DeleteGlContext()
{
    DrawPendingGl();
    WebGlDeleteContext();
}

// --- OpenGL ---

void glEnable(GLenum capability)
{
    switch (capability) {
    case GL_DEPTH_TEST:
        state.depthTest = 1;
        break;
    case GL_LIGHTING:
        state.lighting.lighting = 1;
        break;
    case GL_LIGHT0:
        state.lighting.light0 = 1;
        break;
    case GL_COLOR_MATERIAL:
        state.lighting.colourMaterial = 1;
        break;
    default:
        break;
    }
}

void glClear(GLbitfield mask)
{
    DrawPendingGl();
    WebGlClear(mask);
}

void glFlush()
{
    DrawPendingGl();
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    const GLint viewport[4] = {x, y, width, height};
    std::memcpy(state.viewport, viewport, sizeof viewport);
    state.viewportSet = true;
}

void glMatrixMode(GLenum mode)
{
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION)
        state.matrixMode = mode;
}

void glLoadIdentity()
{
    CurrentMatrix() = IDENTITY;
}

// OpenGL's rotation about the normalised axis; a zero axis leaves the matrix unchanged.
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    const double length = std::sqrt((double)x * x + (double)y * y + (double)z * z);
    if (length == 0)
        return;
    const double u = x / length, v = y / length, w = z / length;
    const double radians = (double)angle * std::acos(-1.0) / 180;
    const double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    // clang-format off
    const double by[16] = {u * u * t + c,     v * u * t + w * s, w * u * t - v * s, 0,
                           u * v * t - w * s, v * v * t + c,     w * v * t + u * s, 0,
                           u * w * t + v * s, v * w * t - u * s, w * w * t + c,     0,
                           0,                 0,                 0,                 1};
    // clang-format on
    MultiplyCurrent(by);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    Translate(x, y, z);
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue)
{
    state.colour[0] = red;
    state.colour[1] = green;
    state.colour[2] = blue;
    state.colour[3] = 1;
}

void glNormal3fv(const GLfloat* normal)
{
    for (int i = 0; i < 3; ++i)
        state.normal[i] = normal[i];
}

void glBegin(GLenum mode)
{
    state.primitive = mode;
    state.vertexCount = 0;
}

void glVertex3i(GLint x, GLint y, GLint z)
{
    AddVertex((GLfloat)x, (GLfloat)y, (GLfloat)z);
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    AddVertex(x, y, z);
}

void glEnd()
{
    DrawPendingGl();
    const int changes = PrepareDraw();
    WebGlDrawVertices(&sent.held, changes, state.primitive, state.vertices, state.vertexCount);
    state.vertexCount = 0;
}

// --- GLU ---

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    const double radians = fovy / 2 * std::acos(-1.0) / 180;
    const double depth = zFar - zNear;
    const double sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0)
        return;
    const double cotangent = std::cos(radians) / sine;
    // clang-format off
    const double by[16] = {cotangent / aspect, 0, 0, 0, 0, cotangent, 0, 0,
                           0, 0, -(zFar + zNear) / depth, -1,
                           0, 0, -2 * zNear * zFar / depth, 0};
    // clang-format on
    MultiplyCurrent(by);
}

namespace {

void Normalise(double v[3])
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0)
        return;
    for (int i = 0; i < 3; ++i)
        v[i] /= length;
}

void CrossProduct(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

// As GLU: when the eye is on the centre the forward direction stays zero, and so does the view.
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ)
{
    double forward[3] = {centreX - eyeX, centreY - eyeY, centreZ - eyeZ};
    double up[3] = {upX, upY, upZ};
    double side[3];
    Normalise(forward);
    CrossProduct(forward, up, side);
    Normalise(side);
    CrossProduct(side, forward, up);
    const double by[16] = {side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0,
                           side[2], up[2], -forward[2], 0, 0,       0,     0,           1};
    MultiplyCurrent(by);
    Translate(-eyeX, -eyeY, -eyeZ);
}

// --- GLUT ---

void glutInit(int*, char**)
{
}

void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks)
{
    if (slices < 1 || stacks < 1 || (slices + 1) * (stacks + 1) > 65536)
        return;
    if (batch.count == SPHERE_BATCH_CAPACITY || (batch.count > 0 && !JoinsBatch(slices, stacks)))
        DrawPendingGl();
    if (batch.count == 0) {
        batch.changes = PrepareDraw();
        if (slices != sent.sphereSlices || stacks != sent.sphereStacks)
            LoadSphere(slices, stacks);
    }
    WebGlSphere& sphere = batch.spheres[batch.count++];
    std::copy(state.modelview.m + 12, state.modelview.m + 16, sphere.place);
    std::copy(state.colour, state.colour + 4, sphere.colour);
    sphere.radius = (GLfloat)radius;
}
