#pragma once
// Solid spheres of 50 slices and 50 stacks about the current origin, with
// per-vertex normals for lighting.

// The build's sphere: the built-in on the desktop, the GLUT library's in the browser.
void SolidSphere(double radius);

// The built-in sphere, drawn with the same subdivision and normals.
void BuiltInSolidSphere(double radius);

inline constexpr int SPHERE_SLICES = 50;
inline constexpr int SPHERE_STACKS = 50;
