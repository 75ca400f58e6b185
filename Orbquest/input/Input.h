#pragma once

#include <GLFW/glfw3.h>

#include <functional>

#include "input/Pad.h"
#include "input/PadState.h"

// The one way the game reads the player: every key, the cursor, the frame clock and the
// delivery of key events go through the installed InputSource. Live play asks GLFW; a replay
// (or a test) plays scripted frames through the very same calls.
class InputSource {
  public:
    virtual ~InputSource() = default;

    // Called once at the start of each frame; returns the clock in seconds for that frame.
    virtual float frameStartTime(GLFWwindow* window) = 0;
    // GLFW_PRESS (or any non-zero state) while the key is down, GLFW_RELEASE otherwise.
    virtual int getKey(GLFWwindow* window, int key) = 0;
    // Screen pixels, y growing downwards (GLFW's virtual position while the cursor is captured).
    virtual void getCursorPos(GLFWwindow* window, double* x, double* y) = 0;
    // The gamepad as it was when the frame started; at rest when there is none.
    virtual PadState getGamepad(GLFWwindow* /*window*/) { return PadState(); }
    // Processes window events; key events reach the callback registered below.
    virtual void pollEvents(GLFWwindow* window) = 0;
    virtual void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) = 0;
    // The callback told, during the event poll, that the window lost (or gained) the keyboard
    // focus, with GLFW's signature. Live play passes the window's own; a replay plays the
    // losses it recorded instead. A source without a window has none.
    virtual void setFocusCallback(GLFWwindow* /*window*/, GLFWwindowfocusfun /*callback*/) {}
    // Answers window events for up to 'seconds' of wall time, ending early once 'done' says
    // so (asked after every event). Key events reach the key callback as in pollEvents, so a
    // recording notes them in the frame still open; a scripted frame's own events are not
    // delivered again. The time spent here does not count on the game's clock.
    virtual void waitForEvents(GLFWwindow* window, double seconds,
                               const std::function<bool()>& done);
    // True when the frame just started is a scripted one and more scripted frames follow it:
    // such a frame may be fast-forwarded. Live input has no script.
    virtual bool scriptedFramesFollow() const { return false; }
};

// Asks GLFW directly. With a fixed frame time the clock advances by exactly that much each
// frame, whatever the wall clock says, so a run plays the same on any machine.
class LiveInput : public InputSource {
  public:
    explicit LiveInput(float fixedFrameTime = 0.0f) : fixedFrameTime_(fixedFrameTime) {}

    // The time the coming frames take when fixed; 0 goes back to the wall clock.
    void setFixedFrameTime(float seconds) { fixedFrameTime_ = seconds; }

    float frameStartTime(GLFWwindow* window) override;
    int getKey(GLFWwindow* window, int key) override;
    void getCursorPos(GLFWwindow* window, double* x, double* y) override;
    PadState getGamepad(GLFWwindow*) override { return pad_; }
    void pollEvents(GLFWwindow* window) override;
    void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) override;
    void setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) override;
    void waitForEvents(GLFWwindow* window, double seconds,
                       const std::function<bool()>& done) override;

  private:
    PadState pad_;          // the first gamepad, read as the frame started
    float fixedFrameTime_;  // seconds; 0 follows the wall clock
    float clock_ = 0.0f;    // the fixed clock, summed in single precision as the game keeps time
    double waited_ = 0.0;   // wall seconds spent in waitForEvents, kept off the game's clock
};

namespace input {

// The installed source: live input unless a ScopedInstall holds another.
InputSource& source();

// Installs a source (not owned) for as long as it lives, then puts back whichever was installed
// before, so nothing is left pointing at a source that has gone, however its scope is left.
class ScopedInstall {
  public:
    explicit ScopedInstall(InputSource& source);
    ~ScopedInstall();
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

  private:
    InputSource* previous_;
};

inline float frameStartTime(GLFWwindow* window) {
    return source().frameStartTime(window);
}
// The part of a stick's travel around its rest that counts as no move.
float padDeadZone();
void setPadDeadZone(float deadZone);

// A key is down when the keyboard holds it or the pad holds it for the player (W, A, S, D and
// Space), so the game answers both alike.
inline int getKey(GLFWwindow* window, int key) {
    const int state = source().getKey(window, key);
    if (state != GLFW_RELEASE) {
        return state;
    }
    return padPressesKey(source().getGamepad(window), key, padDeadZone()) ? GLFW_PRESS
                                                                          : GLFW_RELEASE;
}
inline PadState getGamepad(GLFWwindow* window) {
    return source().getGamepad(window);
}
inline void getCursorPos(GLFWwindow* window, double* x, double* y) {
    source().getCursorPos(window, x, y);
}
inline void pollEvents(GLFWwindow* window) {
    source().pollEvents(window);
}
inline void setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) {
    source().setKeyCallback(window, callback);
}
inline void setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) {
    source().setFocusCallback(window, callback);
}
inline void waitForEvents(GLFWwindow* window, double seconds, const std::function<bool()>& done) {
    source().waitForEvents(window, seconds, done);
}
inline bool scriptedFramesFollow() {
    return source().scriptedFramesFollow();
}

// GLFW's own wait for window events, as waitForEvents describes it, for the sources to build
// on; returns the wall seconds it took.
double waitForWindowEvents(double seconds, const std::function<bool()>& done);

}  // namespace input
