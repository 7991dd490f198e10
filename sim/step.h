#pragma once
// One fixed time step of the pull between all balls, in place.

#include "math/vector.h"

// Sets out.x, .y, .z to the total pull on BallTable[index].
void ComputeForce(Vector& out, int index);

// Advances every ball by one step, in index order: ball i feels balls 0 to i-1
// at their new positions and the rest at their old ones.
void StepSimulation();
