#include "game/Autopilot.h"

#include <algorithm>
#include <cmath>

#include "game/GameRules.h"
#include "game/SceneCreator.h"
#include "render/Camera.h"

namespace {

using namespace rules;

// Room kept on top of the rules' own boxes, in world units.
constexpr float kMargin = 0.05f;
// Heights relative to the ball of things it must not pass through while within reach across:
// a target is touched (and the ball pushed) from 0.5 below to 0.5 above; a block is in the way
// from its top level with the ball up to 0.75 above, and carries the ball just under it.
constexpr float kTargetReachKept = kTargetReach + kMargin;
constexpr float kTargetLow = -kTargetReach - kMargin;
constexpr float kTargetHigh = kTargetReach + kMargin;
constexpr float kBlockReachKept = kBlockReach + kMargin;
constexpr float kBlockLow = kRestLow - 1.5f * kMargin;
constexpr float kBlockHigh = kBlockReach + kMargin;
// A target the ball is over is done as soon as its centre is this far below the ball's.
constexpr float kLandedBelow = -kLandingBandLow;
// How far the pushes that follow a landing may carry the ball forward before the next frame
// lifts it away.
constexpr float kPushReach = 1.0f;
// How far, and in what steps, to look for room to rise or come down in.
constexpr float kSearchReach = 4.0f;
constexpr float kSearchStep = 0.1f;
// Seconds of game time spent on one target before another is tried first.
constexpr float kPatience = 20.0f;
// A frame this long is a stall; nothing is held through it rather than overshoot.
constexpr float kLongestFrame = 0.5f;

// Net rise per second while Space is held: the level sinks, and the pending descent it adds
// raises it again at the same time.
constexpr float kLiftSpeed = scene::kSinkSpeed - scene::kRiseSpeed;

glm::vec3 at(const scene::Model* model) {
    return glm::vec3(model->modelMatrix[3]);
}

// The span [a, b] against [-reach, reach].
bool spanWithin(float a, float b, float reach) {
    return std::min(a, b) <= reach && std::max(a, b) >= -reach;
}

bool overlaps(float low, float high, float keptLow, float keptHigh) {
    return low < keptHigh && high > keptLow;
}

}  // namespace

struct Autopilot::Option {
    Keys keys;
    glm::vec3 shift;  // the ball's move through the frame
};

// One frame as the ball may move through it: how far each key carries it, which way the goal
// lies, and the keys of an option with the ball's move that goes with them.
struct Autopilot::Frame {
    glm::vec3 ahead;  // W and S move the ball along this (unnormalised, as the game steers)
    glm::vec3 side;   // D and A along this
    float step;       // units per frame per unit of their length
    float rise;       // with Space
    float fall;       // without
    glm::vec3 goal;   // relative to the ball
    int wantAhead;    // -1, 0 or 1: the way to the goal along 'ahead'
    int wantSide;

    Option option(bool lift, int alongAhead, int alongSide) const {
        Option o;
        o.keys.lift = lift;
        o.keys.forward = alongAhead > 0;
        o.keys.back = alongAhead < 0;
        o.keys.right = alongSide > 0;
        o.keys.left = alongSide < 0;
        o.shift =
            step * (static_cast<float>(alongAhead) * ahead + static_cast<float>(alongSide) * side);
        o.shift.y = lift ? rise : -fall;
        return o;
    }
    Option toward(bool lift) const { return option(lift, wantAhead, wantSide); }
    Option still(bool lift) const { return option(lift, 0, 0); }
};

Autopilot::Autopilot(const SceneCreator& level) : level_(level) {}

Autopilot::Keys Autopilot::decide(float frameTime, glm::vec3 front) {
    const glm::vec3 ahead(front.x, 0.0f, front.z);
    if (level_.falling || !(frameTime > 0.0f) || frameTime > kLongestFrame ||
        glm::length(ahead) < 1e-3f) {
        return Keys();
    }
    gatherObstacles();
    goalTime_ += frameTime;
    chooseGoal(frameTime, front);
    if (goal_ < 0) {
        return Keys();
    }

    Frame frame;
    frame.ahead = ahead;
    frame.side = glm::vec3(-ahead.z, 0.0f, ahead.x);
    frame.step = scene::kMoveSpeed * frameTime;
    frame.rise = kLiftSpeed * frameTime;
    frame.fall = fallThisFrame(frameTime);
    frame.goal = at(level_.targets[goal_]);
    // A key is held only where it brings the ball nearer: then the ball ends within half a
    // step of the goal across.
    const float stepLength = frame.step * glm::length(ahead);
    auto toward = [&](const glm::vec3& axis) {
        const float distance =
            glm::dot(glm::vec3(frame.goal.x, 0.0f, frame.goal.z), glm::normalize(axis));
        return distance > stepLength / 2 ? 1 : (distance < -stepLength / 2 ? -1 : 0);
    };
    frame.wantAhead = toward(frame.ahead);
    frame.wantSide = toward(frame.side);

    const float height = -frame.goal.y;  // the ball above the goal's centre
    const float over = std::clamp(stepLength / 2 + 0.02f, 0.3f, kTargetReach - 0.03f);
    if (std::abs(frame.goal.x) <= over && std::abs(frame.goal.z) <= over &&
        height > -kLandingBandHigh + kMargin) {
        return comeDown(frame);
    }
    const float cruise = cruiseHeight(goal_, frameTime);
    if (height >= cruise - frame.fall - 1e-3f && height <= cruise + frame.rise + 1e-3f) {
        return cross(frame, cruise);
    }
    return reachCruise(frame, cruise);
}

// The keys of the first option that keeps clear of everything; rising in place if none does.
Autopilot::Keys Autopilot::firstSafe(const Frame& frame,
                                     std::initializer_list<Option> options) const {
    for (const Option& o : options) {
        if (isSafe(o.shift)) {
            return o.keys;
        }
    }
    return frame.still(true).keys;
}

// Over the goal and above it: come down onto it, still closing in across.
Autopilot::Keys Autopilot::comeDown(const Frame& frame) const {
    return firstSafe(
        frame, {frame.toward(false), frame.still(false), frame.toward(true), frame.still(true)});
}

// At the cruise height: cross over to the goal, holding the height.
Autopilot::Keys Autopilot::cross(const Frame& frame, float cruise) const {
    const bool lift = -frame.goal.y < cruise;
    return firstSafe(frame, {frame.toward(lift), frame.option(lift, frame.wantAhead, 0),
                             frame.option(lift, 0, frame.wantSide), frame.toward(!lift),
                             frame.still(lift), frame.still(!lift)});
}

// Below or above the cruise height: rise or come down to it in place if nothing is in the way,
// else first move out from under (or off) whatever is, the shortest way.
Autopilot::Keys Autopilot::reachCruise(const Frame& frame, float cruise) const {
    const float height = -frame.goal.y;
    const bool upward = height < cruise;
    const float needed = std::abs(cruise - height);
    int bestAhead = 0;
    int bestSide = 0;
    float bestDistance = clearance(glm::vec2(0.0f), upward) >= needed ? 0.0f : 1e9f;
    for (int a = -1; a <= 1 && bestDistance > 0.0f; ++a) {
        for (int s = -1; s <= 1; ++s) {
            if (a == 0 && s == 0) {
                continue;
            }
            const glm::vec3 way = glm::normalize(static_cast<float>(a) * frame.ahead +
                                                 static_cast<float>(s) * frame.side);
            for (float d = kSearchStep; d < bestDistance && d <= kSearchReach; d += kSearchStep) {
                if (clearance(d * glm::vec2(way.x, way.z), upward) >= needed) {
                    bestDistance = d;
                    bestAhead = a;
                    bestSide = s;
                }
            }
        }
    }
    return firstSafe(frame, {frame.option(upward, bestAhead, bestSide),
                             frame.option(!upward, bestAhead, bestSide), frame.toward(upward),
                             frame.still(upward), frame.still(!upward)});
}

void Autopilot::gatherObstacles() {
    obstacles_.clear();
    for (size_t i = 0; i < level_.targets.size(); ++i) {
        obstacles_.push_back({at(level_.targets[i]), kTargetReachKept, kTargetLow, kTargetHigh,
                              !level_.targetDone[i]});
    }
    for (const scene::Model* block : level_.blocks) {
        obstacles_.push_back({at(block), kBlockReachKept, kBlockLow, kBlockHigh, false});
    }
}

void Autopilot::chooseGoal(float frameTime, glm::vec3 front) {
    if (goal_ >= 0 && level_.targetDone[goal_]) {
        setAside_ = -1;  // progress: what was set aside may work out now
    } else if (goal_ >= 0 && goalTime_ <= kPatience) {
        return;
    } else if (goal_ >= 0) {
        setAside_ = goal_;  // no way found in time, at these frame times: try another first
    }
    goal_ = -1;
    goalTime_ = 0.0f;
    float best = 0.0f;
    int bestRank = 0;
    for (size_t i = 0; i < level_.targets.size(); ++i) {
        if (level_.targetDone[i]) {
            continue;
        }
        const int target = static_cast<int>(i);
        const glm::vec3 p = at(level_.targets[i]);
        const float cruise = cruiseHeight(target, frameTime);
        const float height = -p.y;
        const float toCruise = cruise > height ? (cruise - height) / kLiftSpeed
                                               : (height - cruise) / scene::kRiseSpeed;
        const float across = std::max(std::abs(p.x), std::abs(p.z)) / scene::kMoveSpeed;
        const float down = std::max(cruise - kLandedBelow, 0.0f) / scene::kRiseSpeed;
        const float cost = toCruise + across + down;
        // A landing whose pushes would carry the ball into a crying target waits until that
        // target is done, and a target set aside comes last, unless nothing else is left.
        const int rank =
            (target == setAside_ ? 2 : 0) + (landingPushesIntoAnother(target, front) ? 1 : 0);
        if (goal_ < 0 || rank < bestRank || (rank == bestRank && cost < best)) {
            goal_ = target;
            best = cost;
            bestRank = rank;
        }
    }
}

// After a landing the ball may sink a little further into the done target, which pushes it
// forward along the camera's direction until the next frame lifts it away.
bool Autopilot::landingPushesIntoAnother(int target, glm::vec3 front) const {
    const glm::vec3 t = at(level_.targets[target]);
    const glm::vec3 forward = glm::normalize(glm::vec3(front.x, 0.0f, front.z));
    for (size_t i = 0; i < level_.targets.size(); ++i) {
        const glm::vec3 n = at(level_.targets[i]);
        if (level_.targetDone[i] || glm::distance(n, t) < 1e-3f) {
            continue;  // done, or the same place (landed on together)
        }
        // Level with the ball after the landing: in the band that loses.
        const float rise = n.y - t.y;
        if (rise < kHitBandLow || rise > kLandedBelow + kHitBandHigh) {
            continue;
        }
        for (int k = 0; k <= 10; ++k) {
            const glm::vec3 ball = t + forward * (kPushReach * static_cast<float>(k) / 10.0f);
            if (std::abs(n.x - ball.x) <= kTargetReachKept &&
                std::abs(n.z - ball.z) <= kTargetReachKept) {
                return true;
            }
        }
    }
    return false;
}

// The lowest height above the target's centre at which the ball can cross from where it is
// to over the target, holding that height to within a frame's rise and fall, and touching
// nothing on the way.
float Autopilot::cruiseHeight(int target, float frameTime) const {
    const glm::vec3 goal = at(level_.targets[target]);
    const float rise = kLiftSpeed * frameTime;
    const float fall = scene::kRiseSpeed * frameTime;
    const float overshoot = scene::kMoveSpeed * frameTime;
    // Heights above the goal's centre to keep clear of, one span per obstacle on the way; the
    // goal itself is obstacle 'target'.
    std::vector<std::pair<float, float>> kept;
    for (size_t i = 0; i < obstacles_.size(); ++i) {
        const Obstacle& o = obstacles_[i];
        const float pad = o.reach + overshoot;
        const glm::vec3 p = o.position;
        if (static_cast<int>(i) != target && p.x >= std::min(0.0f, goal.x) - pad &&
            p.x <= std::max(0.0f, goal.x) + pad && p.z >= std::min(0.0f, goal.z) - pad &&
            p.z <= std::max(0.0f, goal.z) + pad) {
            kept.emplace_back(p.y - goal.y - o.high, p.y - goal.y - o.low);
        }
    }
    float cruise = kTargetHigh + fall + 1e-3f;  // above the goal's own reach
    for (bool moved = true; moved;) {
        moved = false;
        for (const auto& [low, high] : kept) {
            if (overlaps(cruise - fall, cruise + rise, low, high)) {
                cruise = high + fall + 1e-3f;
                moved = true;
            }
        }
    }
    return cruise;
}

// Whether a frame's move keeps clear of every target and block. A crying target the ball
// stays over all frame, coming down from above its landing band, is landed on before it could
// be hit; one the ball already touches must not come into the band that loses.
bool Autopilot::isSafe(glm::vec3 shift) const {
    for (const Obstacle& o : obstacles_) {
        const glm::vec3 start = o.position;
        const glm::vec3 end = o.position - shift;  // the level moves against the ball
        if (!spanWithin(start.x, end.x, o.reach) || !spanWithin(start.z, end.z, o.reach)) {
            continue;
        }
        const float low = std::min(start.y, end.y);
        const float high = std::max(start.y, end.y);
        const bool touchingNow = std::abs(start.x) <= o.reach && std::abs(start.z) <= o.reach &&
                                 start.y > o.low && start.y < o.high;
        if (o.crying) {
            const float inside = kTargetReach - 1e-3f;
            const bool overAllFrame = std::abs(start.x) < inside && std::abs(start.z) < inside &&
                                      std::abs(end.x) < inside && std::abs(end.z) < inside;
            if (overAllFrame && start.y < kLandingBandHigh - kMargin) {
                continue;
            }
            if (touchingNow) {
                if (overlaps(low, high, kHitBandLow - kMargin, kHitBandHigh + kMargin)) {
                    return false;
                }
                continue;
            }
        } else if (touchingNow) {
            continue;  // already in contact: only pushes, which moving on cannot make worse
        }
        if (overlaps(low, high, o.low, o.high)) {
            return false;
        }
    }
    return true;
}

// How far the ball could rise (or come down) with nothing in the way, from 'at' across
// relative to where it is now. What it already touches there does not count, nor a crying
// target it would come down onto.
float Autopilot::clearance(glm::vec2 at, bool upward) const {
    float room = 1e9f;
    for (const Obstacle& o : obstacles_) {
        const glm::vec2 across = glm::vec2(o.position.x, o.position.z) - at;
        if (std::abs(across.x) > o.reach || std::abs(across.y) > o.reach) {
            continue;
        }
        const float y = o.position.y;
        if (upward && y >= o.high) {
            room = std::min(room, y - o.high);  // rising lowers everything by as much
        } else if (!upward && y <= o.low) {
            const bool landsOn =
                o.crying && std::abs(across.x) < kTargetReach && std::abs(across.y) < kTargetReach;
            if (!landsOn) {
                room = std::min(room, o.low - y);
            }
        }
    }
    return room;
}

// How far the ball comes down through a frame without Space: the pending descent runs out at
// a third of the rate the ball falls.
float Autopilot::fallThisFrame(float frameTime) const {
    if (level_.pendingDescent <= 0.0f) {
        return 0.0f;
    }
    const float untilSpent = level_.pendingDescent / kDescentSpendRate;
    return scene::kRiseSpeed * std::min(frameTime, untilSpent);
}

std::function<std::optional<FlightKeys>(float frameTime)> autopilotFlyingBy(
    const SceneCreator& level, const Camera& camera) {
    return [autopilot = Autopilot(level), &level,
            &camera](float frameTime) mutable -> std::optional<FlightKeys> {
        if (level.paused) {
            return std::nullopt;
        }
        return autopilot.decide(frameTime, camera.getFront());
    };
}
