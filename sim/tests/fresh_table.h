#pragma once
// Puts the simulation back into its process-start state, between tests and
// between benchmark runs.

#include "sim/balls.h"

#include <cstring>

inline void ResetToProcessStart()
{
    // Static storage starts as all-zero bits, which are 0.0f in every field.
    // cppcheck-suppress memsetClassFloat
    std::memset(BallTable, 0, sizeof BallTable);
    randomState = 1;
}
