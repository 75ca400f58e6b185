#include "game/GameRules.h"

#include <algorithm>

#include "game/SceneCreator.h"

namespace {

using namespace rules;

constexpr float kFallRate = 10.0f;  // pending descent per second of falling

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
    auto offRectangle = [&slab](const levels::GroundLimits& g) {
        return slab.z <= g.lowZ || slab.x >= g.highX || slab.x <= g.lowX || slab.z >= g.highZ;
    };
    const bool offGround =
        std::all_of(fallLimits.ground.begin(), fallLimits.ground.end(), offRectangle);
    if (slab.y >= fallLimits.groundHeight && offGround) {
        // Assigned, not added: while falling the level keeps rising at the descent rate.
        pendingDescent = kFallRate * deltaTime;
        falling = true;
    }
    if (slab.y >= fallLimits.lostHeight) {
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
