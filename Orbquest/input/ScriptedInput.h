#pragma once

#include <vector>

#include "input/Input.h"
#include "input/Replay.h"

// Plays a replay frame by frame: each frame takes its recorded frame time instead of the
// clock, its keys, cursor and pad, and has its key events delivered during the event poll. Real
// keys are ignored meanwhile, except Escape, which still quits (as does closing the window).
// When the script runs out, the game goes on live, with the clock and the cursor carried on
// from where the script left them.
class ScriptedInput : public InputSource {
  public:
    explicit ScriptedInput(std::vector<ReplayFrame> frames);

    float frameStartTime(GLFWwindow* window) override;
    int getKey(GLFWwindow* window, int key) override;
    void getCursorPos(GLFWwindow* window, double* x, double* y) override;
    PadState getGamepad(GLFWwindow* window) override;
    void pollEvents(GLFWwindow* window) override;
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override;
    // The real window's focus is ignored while the script plays.
    void setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) override;
    void waitForEvents(GLFWwindow* window, double seconds,
                       const std::function<bool()>& done) override;
    bool scriptedFramesFollow() const override { return !live_ && next_ < frames_.size(); }

    bool finished() const { return live_; }

  private:
    void goLive(GLFWwindow* window);

    std::vector<ReplayFrame> frames_;
    size_t next_ = 0;        // index of the next entry to start
    long playedOfNext_ = 0;  // frames of that entry already played
    const ReplayFrame* current_ = nullptr;
    std::vector<bool> keysDown_;
    GLFWkeyfun callback_ = nullptr;
    GLFWwindowfocusfun focusCallback_ = nullptr;
    float clock_ =
        0.0f;  // seconds; sums of frame times in single precision, as the game keeps them
    bool live_ = false;
    double liveClockOffset_ = 0.0;
    double cursorOffsetX_ = 0.0;
    double cursorOffsetY_ = 0.0;
    PadState livePad_;  // once live: the real pad, read as each frame starts
};
