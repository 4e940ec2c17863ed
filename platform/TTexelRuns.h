#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/TRenderBackend.h"

// Splits a batch of triangles into runs that draw their texture texel for pixel and runs that do
// not. A triangle drawn texel for pixel is only moved by whole pixels (neither scaled nor turned):
// every pixel centre falls on a texel centre, where linear filtering returns the texel itself, so
// sampling the nearest texel gives the same pixels — at about two thirds of the cost on a software
// rasteriser.
struct TTexelRun {
    size_t first = 0, count = 0;  // vertices
    bool aligned = false;
};

class TTexelRuns {
public:
    // The runs of `count` vertices (whole triangles) on a texture of tw x th texels. More than
    // `maxRuns` runs give one unaligned run: a device call per run must not outweigh the gain.
    static std::vector<TTexelRun> Split(const TVertex* vertices, size_t count, int32_t tw, int32_t th, size_t maxRuns);
    static bool Aligned(const TVertex* triangle, int32_t tw, int32_t th);
};
