#pragma once
// The simulated bodies, their table, and the generator that populates it.

#include "math/vector.h"

#include <cstdint>

struct Ball {
    Vector velocity;        // displacement per time step
    TrackedPoint position;  // current and previous coordinates
    float red;
    float green;
    float blue;
    float radius;
    float inertialMass;       // divides the force
    float gravitationalMass;  // scales the pull; picks colour and size

    // Draws position, masses, colour and radius; leaves velocity alone.
    void RandomizeBall();
};

inline constexpr int BALL_COUNT = 50;

// Zero when the process starts; written by InitBalls and StepSimulation.
extern Ball BallTable[BALL_COUNT];

struct SimulationParameterSet {
    float timeStep;
    float gravitationalConstant;
};

inline constexpr SimulationParameterSet SimulationParameters = {0.1f, 0.001f};

inline constexpr int RANDOM_MAX = 32767;

// Generator state: 1 when the process starts, never reseeded by the program.
extern std::uint32_t randomState;

// Linear congruential generator; returns 0 to RANDOM_MAX.
int RandomInt();

// One draw scaled to [0, bound], in double precision: the caller rounds.
double RandomFloat(float bound);

// Randomizes every ball in index order: 250 draws.
void InitBalls();
