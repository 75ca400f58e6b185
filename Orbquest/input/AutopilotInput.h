#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "input/FlightKeys.h"
#include "input/Input.h"

// Puts a pilot at W, A, S, D and Space over another input source (live play, or a replay that
// sets the frame times): each frame the pilot decides those keys as the frame starts, and the
// cursor is held still so the camera keeps its direction. The clock, every other
// key and the key events come from the source. Pressing any of the five keys on the keyboard,
// or touching the source's gamepad (a stick past the dead zone, any button), hands the ball to
// the player for the rest of the session; from then on the source has it all.
class AutopilotInput : public InputSource {
  public:
    explicit AutopilotInput(InputSource& source) : source_(source) {}

    // Decides the keys for a frame of the given length (in seconds of game time); nothing for
    // a frame in which the game does not move (paused), which then does not count as flown.
    using Pilot = std::function<std::optional<FlightKeys>(float frameTime)>;

    // The pilot to fly with, once the level it reads exists; until then it holds nothing.
    void attach(Pilot pilot) { pilot_ = std::move(pilot); }
    // A new game: a fresh pilot, and the frames and time flown counted from 0. Whoever has
    // the ball keeps it.
    void restart(Pilot pilot) {
        pilot_ = std::move(pilot);
        framesFlown_ = 0;
        timeFlown_ = 0.0f;
    }

    float frameStartTime(GLFWwindow* window) override;
    int getKey(GLFWwindow* window, int key) override;
    void getCursorPos(GLFWwindow* window, double* x, double* y) override;
    // At rest while the autopilot flies: the pad is the player's once they take over.
    PadState getGamepad(GLFWwindow* window) override;
    void pollEvents(GLFWwindow* window) override { source_.pollEvents(window); }
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override {
        source_.setKeyCallback(window, callback);
    }
    void setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) override {
        source_.setFocusCallback(window, callback);
    }
    void waitForEvents(GLFWwindow* window, double seconds,
                       const std::function<bool()>& done) override {
        source_.waitForEvents(window, seconds, done);
    }
    bool scriptedFramesFollow() const override { return source_.scriptedFramesFollow(); }

    bool driving() const { return driving_; }
    long framesFlown() const { return framesFlown_; }
    float timeFlown() const { return timeFlown_; }  // seconds of game time

  private:
    bool playerTookOver(GLFWwindow* window);

    InputSource& source_;
    Pilot pilot_;
    FlightKeys keys_;
    bool driving_ = true;
    float lastClock_ = 0.0f;
    long framesFlown_ = 0;
    float timeFlown_ = 0.0f;
    // Where the source's cursor was when the player took over: the camera must not jump.
    double takeOverX_ = 0.0;
    double takeOverY_ = 0.0;
};
