#pragma once

#include <optional>

#include "app/Input.h"
#include "game/Autopilot.h"

class Camera;
class SceneCreator;

// Puts the autopilot at W, A, S, D and Space over another input source (live play, or a replay
// that sets the frame times): each frame it decides those keys from the level as the frame
// starts, and holds the cursor still so the camera keeps its direction. The clock, every other
// key and the key events come from the source. Pressing any of the five keys on the keyboard
// hands the ball to the player for the rest of the session; from then on the source has it all.
class AutopilotInput : public InputSource {
  public:
    explicit AutopilotInput(InputSource& source) : source_(source) {}

    // The level and camera it flies by, once they exist; until then it holds nothing.
    void attach(const SceneCreator& level, const Camera& camera);

    float frameStartTime(GLFWwindow* window) override;
    int getKey(GLFWwindow* window, int key) override;
    void getCursorPos(GLFWwindow* window, double* x, double* y) override;
    void pollEvents(GLFWwindow* window) override { source_.pollEvents(window); }
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override {
        source_.setKeyCallback(window, callback);
    }
    bool scriptedFramesFollow() const override { return source_.scriptedFramesFollow(); }

    bool driving() const { return driving_; }
    // The target being flown to; -1 before attach and once every target is done.
    int goal() const { return pilot_ ? pilot_->goal() : -1; }
    long framesFlown() const { return framesFlown_; }
    float timeFlown() const { return timeFlown_; }  // seconds of game time

  private:
    static bool playerTookOver(GLFWwindow* window);

    InputSource& source_;
    const Camera* camera_ = nullptr;
    std::optional<Autopilot> pilot_;
    Autopilot::Keys keys_;
    bool driving_ = true;
    float lastClock_ = 0.0f;
    long framesFlown_ = 0;
    float timeFlown_ = 0.0f;
    // Where the source's cursor was when the player took over: the camera must not jump.
    double takeOverX_ = 0.0;
    double takeOverY_ = 0.0;
};
