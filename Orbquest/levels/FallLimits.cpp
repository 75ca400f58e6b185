#include "levels/FallLimits.h"

#include <cstdlib>

#include "base/ShortestDecimal.h"

namespace levels {

namespace {

// A number as a level file writes it. Each limit is a difference of such numbers, worked out in
// decimal and rounded once, so the slab at x -1.1 and a rectangle's edge at 5.2 give the float
// nearest -6.3, not whatever two float roundings would leave.
double written(float value) {
    return std::strtod(shortestDecimal(value).c_str(), nullptr);
}

float limit(float slab, float edge) {
    return static_cast<float>(written(slab) - written(edge));
}

}  // namespace

FallLimits fallLimitsOf(const LevelDescription& level) {
    FallLimits limits;
    const glm::vec3 start = level.floor.at(0).position;
    // The slab moves against the ball: over a rectangle's right edge the slab is left of its
    // start by as much.
    for (const GroundRectangle& r : level.ground) {
        limits.ground.push_back({limit(start.x, r.maxX), limit(start.x, r.minX),
                                 limit(start.z, r.maxZ), limit(start.z, r.minZ)});
    }
    limits.groundHeight = static_cast<float>(written(start.y) - kGroundHeightReach);
    limits.lostHeight = static_cast<float>(written(start.y) + kFallLostDepth);
    return limits;
}

}  // namespace levels
