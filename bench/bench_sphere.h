#pragma once
// The benchmarks' own sphere: freeglut's, drawn anew, or replayed from a
// display list per radius (the floor the renderer allows; the demo never caches).

void UseListedSpheres(bool listed);
