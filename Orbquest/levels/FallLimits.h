#pragma once

#include <vector>

#include "levels/LevelDescription.h"

// The fall rule as the game checks it each frame: against the position of floor slab 0, which
// moves with the whole level while the ball stays at the origin. The ball is at ground height
// while that slab is at least 'groundHeight' high; then, outside every ground rectangle, it falls;
// once the slab is 'lostHeight' high the fall is lost.
namespace levels {

// The ball counts as at ground height up to this far above where it started, and the fall is
// lost this far below it.
constexpr double kGroundHeightReach = 0.1;
constexpr double kFallLostDepth = 6.3;

// A ground rectangle as limits on floor slab 0's position: the ball is over the rectangle while
// lowX < x < highX and lowZ < z < highZ.
struct GroundLimits {
    float lowX = 0.0f;
    float highX = 0.0f;
    float lowZ = 0.0f;
    float highZ = 0.0f;
};

struct FallLimits {
    std::vector<GroundLimits> ground;  // one per ground rectangle, in order
    float groundHeight = 0.0f;
    float lostHeight = 0.0f;
};

// Needs at least one floor slab.
FallLimits fallLimitsOf(const LevelDescription& level);

}  // namespace levels
