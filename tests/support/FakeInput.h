#pragma once

#include <set>
#include <utility>
#include <vector>

#include "input/Input.h"

// An input source a test sets by hand: keys held, the cursor, the pad, the frame time. Key events
// queued with press/release are delivered to the registered callback on the next poll, with
// the key state changed before each delivery as GLFW does. Installed while it lives.
class FakeInput : public InputSource {
  public:
    std::set<int> keysDown;
    double cursorX = 0.0;
    double cursorY = 0.0;
    PadState pad;
    float frameTime = 1.0f / 60.0f;  // seconds added to the clock by each frame
    float clock = 0.0f;

    void hold(int key) { keysDown.insert(key); }
    void release(int key) { keysDown.erase(key); }
    void queuePress(int key) { queued_.push_back({key, GLFW_PRESS}); }
    void queueRelease(int key) { queued_.push_back({key, GLFW_RELEASE}); }
    void queueEvent(int key, int action) { queued_.push_back({key, action}); }

    float frameStartTime(GLFWwindow*) override { return clock += frameTime; }
    int getKey(GLFWwindow*, int key) override {
        return keysDown.count(key) ? GLFW_PRESS : GLFW_RELEASE;
    }
    void getCursorPos(GLFWwindow*, double* x, double* y) override {
        *x = cursorX;
        *y = cursorY;
    }
    PadState getGamepad(GLFWwindow*) override { return pad; }
    void pollEvents(GLFWwindow* window) override {
        std::vector<std::pair<int, int>> events;
        events.swap(queued_);
        for (const auto& [key, action] : events) {
            if (action == GLFW_RELEASE) {
                keysDown.erase(key);
            } else {
                keysDown.insert(key);
            }
            if (callback_) {
                callback_(window, key, 0, action, 0);
            }
        }
    }
    void setKeyCallback(GLFWwindow*, GLFWkeyfun callback) override { callback_ = callback; }

  private:
    std::vector<std::pair<int, int>> queued_;
    GLFWkeyfun callback_ = nullptr;
    // Last, so it is the first to go and puts the previous source back before the rest does.
    input::ScopedInstall installed_{*this};
};
