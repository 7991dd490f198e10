#include "render/sphere_rings.h"

#include <cmath>

std::vector<float> SphereRingNormals(int slices, int stacks)
{
    const double pi = std::acos(-1.0);
    std::vector<float> normals;
    normals.reserve((size_t)(stacks + 1) * (slices + 1) * 3);
    for (int stack = 0; stack <= stacks; ++stack) {
        const double polar = pi * stack / stacks;
        for (int slice = 0; slice <= slices; ++slice) {
            const double around = 2 * pi * (slice % slices) / slices;
            normals.push_back((float)(std::cos(around) * std::sin(polar)));
            normals.push_back((float)(std::sin(around) * std::sin(polar)));
            normals.push_back((float)std::cos(polar));
        }
    }
    return normals;
}
