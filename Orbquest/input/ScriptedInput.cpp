#include "input/ScriptedInput.h"

#include <utility>

ScriptedInput::ScriptedInput(std::vector<ReplayFrame> frames)
    : frames_(std::move(frames)), keysDown_(GLFW_KEY_LAST + 1, false) {}

float ScriptedInput::frameStartTime(GLFWwindow* window) {
    if (!live_ && next_ >= frames_.size()) {
        goLive(window);
    }
    if (live_) {
        livePad_ = readFirstGamepad();
        return static_cast<float>(glfwGetTime() - liveClockOffset_);
    }
    current_ = &frames_[next_];
    if (++playedOfNext_ >= current_->repeat) {
        ++next_;
        playedOfNext_ = 0;
    }
    keysDown_.assign(keysDown_.size(), false);
    for (int key : current_->keysDown) {
        keysDown_[key] = true;
    }
    // Adding in single precision reproduces a recorded game's clock bit for bit.
    clock_ += current_->frameTime;
    return clock_;
}

int ScriptedInput::getKey(GLFWwindow* window, int key) {
    if (live_) {
        return glfwGetKey(window, key);
    }
    // The player watching can still quit: the real Escape counts as well as the scripted one.
    if (key == GLFW_KEY_ESCAPE && glfwGetKey(window, key) != GLFW_RELEASE) {
        return GLFW_PRESS;
    }
    return key >= 0 && key < static_cast<int>(keysDown_.size()) && keysDown_[key] ? GLFW_PRESS
                                                                                  : GLFW_RELEASE;
}

void ScriptedInput::getCursorPos(GLFWwindow* window, double* x, double* y) {
    if (live_) {
        glfwGetCursorPos(window, x, y);
        *x += cursorOffsetX_;
        *y += cursorOffsetY_;
        return;
    }
    *x = current_ ? current_->cursorX : 0.0;
    *y = current_ ? current_->cursorY : 0.0;
}

PadState ScriptedInput::getGamepad(GLFWwindow*) {
    if (live_) {
        return livePad_;
    }
    return current_ ? current_->pad : PadState();
}

void ScriptedInput::pollEvents(GLFWwindow* window) {
    // Window events (a close request) still come from the window system.
    glfwPollEvents();
    if (live_ || !current_) {
        return;
    }
    for (const KeyEvent& event : current_->events) {
        if (event.key == kFocusLost) {
            if (focusCallback_) {
                focusCallback_(window, GLFW_FALSE);
            }
            continue;
        }
        // GLFW changes the key's state before it calls the callback.
        keysDown_[event.key] = event.action != GLFW_RELEASE;
        if (callback_) {
            callback_(window, event.key, 0, event.action, 0);
        }
    }
}

void ScriptedInput::setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) {
    callback_ = callback;
    glfwSetKeyCallback(window, live_ ? callback : nullptr);
}

void ScriptedInput::setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) {
    focusCallback_ = callback;
    glfwSetWindowFocusCallback(window, live_ ? callback : nullptr);
}

void ScriptedInput::waitForEvents(GLFWwindow*, double seconds, const std::function<bool()>& done) {
    const double waited = input::waitForWindowEvents(seconds, done);
    if (live_) {
        liveClockOffset_ += waited;
    }
}

void ScriptedInput::goLive(GLFWwindow* window) {
    live_ = true;
    liveClockOffset_ = glfwGetTime() - static_cast<double>(clock_);
    double liveX = 0.0;
    double liveY = 0.0;
    glfwGetCursorPos(window, &liveX, &liveY);
    cursorOffsetX_ = (current_ ? current_->cursorX : 0.0) - liveX;
    cursorOffsetY_ = (current_ ? current_->cursorY : 0.0) - liveY;
    glfwSetKeyCallback(window, callback_);
    glfwSetWindowFocusCallback(window, focusCallback_);
}
