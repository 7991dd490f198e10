#pragma once
// The unit normals of a sphere's rings, which the built-in sphere and the browser's
// GLUT sphere both draw: ring 0 is the pole at +z, ring `stacks` the pole at -z, and
// normal k of a ring lies at angle 2 pi k / slices about the z axis; normal `slices`
// closes the ring where normal 0 opened it.

#include <vector>

// (stacks + 1) rings of (slices + 1) normals, three floats each, ring after ring.
std::vector<float> SphereRingNormals(int slices, int stacks);
