#pragma once
// Solid spheres of 50 slices and 50 stacks about the current origin, with
// per-vertex normals for lighting.

// The build's sphere: builtin_sphere.cpp on the desktop, glut_sphere.cpp in the browser.
void SolidSphere(double radius);

inline constexpr int SPHERE_SLICES = 50;
inline constexpr int SPHERE_STACKS = 50;
