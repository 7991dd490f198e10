#pragma once
// Between the rendering context (wgl) and the OpenGL state kept in opengl.cpp.

// A context was made current: every matrix, the lighting switches and the sphere's mesh are
// sent to it again before its next draw.
void ResendGlState();
