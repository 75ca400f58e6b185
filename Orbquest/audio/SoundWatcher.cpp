#include "audio/SoundWatcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/SceneCreator.h"
#include "scene/Model.h"

namespace {

// The rolling loop is at its loudest at the speed W gives with the camera level.
constexpr float kRollingFullSpeed = scene::kMoveSpeed;  // units per second
constexpr float kRollingGain = 0.7f;
// Pitch of the loop at rest and at full speed.
constexpr float kRollingSlowPitch = 0.75f;
constexpr float kRollingFastPitch = 1.1f;

glm::vec3 positionOf(const scene::Model* model) {
    return glm::vec3(model->modelMatrix[3]);
}

// In the air: falling off the road, or with a descent still to come that no block holds up.
bool isAirborne(const SceneCreator& level) {
    return level.falling || (!level.onBlock && level.pendingDescent > 0.0f);
}

}  // namespace

float chimePitch(int done, int total) {
    if (total <= 0) {
        return 1.0f;
    }
    return std::exp2(static_cast<float>(std::clamp(done, 0, total)) / static_cast<float>(total));
}

void SoundWatcher::start(const SceneCreator& level) {
    started_ = false;
    watch(level, 0.0f, false);
}

const SoundDecisions& SoundWatcher::watch(const SceneCreator& level, float deltaTime, bool paused) {
    decisions_.cues.clear();
    const glm::vec3 road = positionOf(level.floorSlabs[0]);
    const bool airborne = isAirborne(level);
    const bool first = !started_;
    if (first) {
        started_ = true;
        done_ = level.targetDone;
        doneCount_ = static_cast<int>(std::count(done_.begin(), done_.end(), true));
    } else {
        // Only Space lowers the level; from the ground (road or block) that is a lift-off.
        if (road.y < road_.y && !airborne_) {
            cue(Sound::LiftOff);
        }
        if (level.onBlock && !onBlock_) {
            cue(Sound::Knock);
        }
        watchTargets(level);
        if (level.falling && !falling_) {
            cue(Sound::Fall);
        }
        watchEnd(level);
    }
    const bool over = level.gameLost || level.gameWon;
    const float speed = first ? 0.0f : rollingSpeed(road, deltaTime);
    const float share =
        airborne || paused || over ? 0.0f : std::min(speed / kRollingFullSpeed, 1.0f);
    decisions_.rollingGain = kRollingGain * share;
    decisions_.rollingPitch = kRollingSlowPitch + (kRollingFastPitch - kRollingSlowPitch) * share;

    road_ = road;
    airborne_ = airborne;
    onBlock_ = level.onBlock;
    falling_ = level.falling;
    lost_ = level.gameLost;
    won_ = level.gameWon;
    return decisions_;
}

void SoundWatcher::watchTargets(const SceneCreator& level) {
    const int total = static_cast<int>(level.targetDone.size());
    done_.resize(level.targetDone.size(), false);
    for (size_t i = 0; i < level.targetDone.size(); ++i) {
        if (level.targetDone[i] && !done_[i]) {
            done_[i] = true;
            ++doneCount_;
            cueAt(Sound::Chime, positionOf(level.targets[i]), chimePitch(doneCount_, total));
        }
    }
}

// Running into a target loses the game from where the nearest crying target is; a fall has
// made its sound when it began.
void SoundWatcher::watchEnd(const SceneCreator& level) {
    if (level.gameLost && !lost_ && !level.falling) {
        float nearest = std::numeric_limits<float>::max();
        glm::vec3 where(0.0f);
        for (size_t i = 0; i < level.targets.size(); ++i) {
            const glm::vec3 p = positionOf(level.targets[i]);
            if (!level.targetDone[i] && glm::length(p) < nearest) {
                nearest = glm::length(p);
                where = p;
            }
        }
        cueAt(Sound::HitTarget, where);
    }
    if (level.gameWon && !won_) {
        cue(Sound::Fanfare);
    }
}

// How fast the road passed under the ball this frame, across it, not up or down.
float SoundWatcher::rollingSpeed(const glm::vec3& road, float deltaTime) const {
    if (!(deltaTime > 0.0f)) {
        return 0.0f;
    }
    const glm::vec2 moved(road.x - road_.x, road.z - road_.z);
    return glm::length(moved) / deltaTime;
}

void SoundWatcher::cue(Sound sound, float pitch) {
    decisions_.cues.push_back({sound, false, glm::vec3(0.0f), pitch});
}

void SoundWatcher::cueAt(Sound sound, const glm::vec3& position, float pitch) {
    decisions_.cues.push_back({sound, true, position, pitch});
}
