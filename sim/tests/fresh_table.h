#pragma once
// Puts the simulation back into its process-start state between tests.

#include "sim/balls.h"

#include <cstring>

inline void ResetToProcessStart()
{
    std::memset(BallTable, 0, sizeof BallTable);
    randomState = 1;
}
