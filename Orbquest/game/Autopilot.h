#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "input/FlightKeys.h"

class Camera;
class SceneCreator;

// Plays the level as a careful player would: it picks the next crying target, lifts the ball
// to a height that clears everything between here and there, crosses over and comes down onto
// it. It reads the positions the game rules read (everything relative to the ball, which stays
// at the origin) and only ever chooses keys; the game moves the level as it does for a player.
class Autopilot {
  public:
    using Keys = FlightKeys;

    explicit Autopilot(const SceneCreator& level);

    // The keys for the coming frame of 'frameTime' seconds; 'front' is the camera's viewing
    // direction, which W, A, S and D follow.
    Keys decide(float frameTime, glm::vec3 front);

    // Index into the level's targets of the one being flown to; -1 once every one is done.
    int goal() const { return goal_; }

  private:
    struct Option;  // keys for a frame, and the ball's move through it
    struct Frame;   // what one frame of each key would do, and the options built from it

    // Something the ball keeps away from: its position relative to the ball, how far across it
    // reaches, and the span of heights relative to the ball it keeps clear of.
    struct Obstacle {
        glm::vec3 position;
        float reach;
        float low;
        float high;
        bool crying;  // a target not yet done: coming down onto it from above lands on it
    };

    Keys firstSafe(const Frame& frame, std::initializer_list<Option> options) const;
    Keys comeDown(const Frame& frame) const;
    Keys cross(const Frame& frame, float cruise) const;
    Keys reachCruise(const Frame& frame, float cruise) const;
    void chooseGoal(float frameTime, glm::vec3 front);
    bool landingPushesIntoAnother(int target, glm::vec3 front) const;
    float cruiseHeight(int target, float frameTime) const;
    void gatherObstacles();
    bool isSafe(glm::vec3 shift) const;
    float clearance(glm::vec2 at, bool upward) const;
    float fallThisFrame(float frameTime) const;

    const SceneCreator& level_;
    int goal_ = -1;
    float goalTime_ = 0.0f;            // seconds spent flying to the goal
    int setAside_ = -1;                // a target tried too long, left for later
    std::vector<Obstacle> obstacles_;  // this frame's, gathered once
};

// The autopilot as the input layer flies it: each frame's keys decided by the camera's current
// viewing direction; nothing while the game is paused, so its patience does not run out then.
std::function<std::optional<FlightKeys>(float frameTime)> autopilotFlyingBy(
    const SceneCreator& level, const Camera& camera);
