#include "game/GameRules.h"

#include "game/SceneCreator.h"

namespace {

using namespace rules;

// The road limits, read off the first floor slab, which starts at (-1.1, -3.3, -10).
constexpr float kRoadHeightLimit = -3.4f;  // above it the player counts as at road height
constexpr float kBackLimitZ = -12.2f;
constexpr float kForwardLimitZ = 120.3f;
constexpr float kSideLimitX = 6.3f;
constexpr float kFallRate = 10.0f;       // pending descent per second of falling
constexpr float kFallLostHeight = 3.0f;  // the slab this high means the fall is lost

bool within(float value, float reach) {
    return -reach <= value && value <= reach;
}

}  // namespace

glm::vec3 SceneCreator::positionOf(glm::mat4 matrix) {
    return glm::vec3(matrix[3][0], matrix[3][1], matrix[3][2]);
}

void SceneCreator::checkTargetHit(int i) {
    if (targetDone[i]) {
        return;
    }
    const glm::vec3 p = positionOf(targets[i]->modelMatrix);
    if (within(p.x, targetRange) && within(p.z, targetRange) && kHitBandLow <= p.y &&
        p.y <= kHitBandHigh) {
        gameLost = true;
    }
}

void SceneCreator::checkLanding(int i) {
    if (gameLost) {
        return;
    }
    const glm::vec3 p = positionOf(targets[i]->modelMatrix);
    if (within(p.x, targetRange) && within(p.z, targetRange) && kLandingBandLow < p.y &&
        p.y < kLandingBandHigh) {
        targetDone[i] = true;
    }
}

void SceneCreator::checkBounds(float deltaTime) {
    const glm::vec3 slab = positionOf(floorSlabs[0]->modelMatrix);
    const bool offRoad = slab.z <= kBackLimitZ || slab.x >= kSideLimitX || slab.x <= -kSideLimitX ||
                         slab.z >= kForwardLimitZ;
    if (slab.y >= kRoadHeightLimit && offRoad) {
        // Assigned, not added: while falling the level keeps rising at the descent rate.
        pendingDescent = kFallRate * deltaTime;
        falling = true;
    }
    if (slab.y >= kFallLostHeight) {
        gameLost = true;
    }
}

bool SceneCreator::restsOnBlock(int i) {
    const glm::vec3 p = positionOf(blocks[i]->modelMatrix);
    return within(p.x, kBlockReach) && within(p.z, kBlockReach) && kRestLow <= p.y &&
           p.y <= kRestHigh;
}

bool SceneCreator::touchesBlock(int i) {
    const glm::vec3 p = positionOf(blocks[i]->modelMatrix);
    return within(p.x, kBlockReach) && within(p.z, kBlockReach) && 0.0f <= p.y && p.y < kBlockReach;
}

bool SceneCreator::touchesTarget(int i) {
    const glm::vec3 p = positionOf(targets[i]->modelMatrix);
    return within(p.x, kTargetReach) && within(p.y, kTargetReach) && within(p.z, kTargetReach);
}
