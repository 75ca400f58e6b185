#include "input/AutopilotInput.h"

#include <iostream>

namespace {

// The keys the autopilot holds, and that hand the ball back to the player when pressed.
constexpr int kFlightKeys[] = {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D, GLFW_KEY_SPACE};

// The cursor reported while flying: a fixed place, so the camera keeps its direction and a
// recorded flight reads the same on every machine.
constexpr double kHeldCursorX = 0.0;
constexpr double kHeldCursorY = 0.0;

}  // namespace

float AutopilotInput::frameStartTime(GLFWwindow* window) {
    const float clock = source_.frameStartTime(window);
    // The frame time the main loop is about to take (its clock, too, starts at 0): this
    // frame's keys act over exactly that much.
    const float frameTime = clock - lastClock_;
    lastClock_ = clock;
    if (driving_ && playerTookOver(window)) {
        driving_ = false;
        source_.getCursorPos(window, &takeOverX_, &takeOverY_);
        std::cout << "Autopilot off: the ball is yours" << std::endl;
    }
    keys_ = FlightKeys();
    if (driving_ && pilot_) {
        if (const std::optional<FlightKeys> keys = pilot_(frameTime)) {
            keys_ = *keys;
            ++framesFlown_;
            timeFlown_ += frameTime;
        }
    }
    return clock;
}

int AutopilotInput::getKey(GLFWwindow* window, int key) {
    if (!driving_) {
        return source_.getKey(window, key);
    }
    switch (key) {
        case GLFW_KEY_W:
            return keys_.forward ? GLFW_PRESS : GLFW_RELEASE;
        case GLFW_KEY_A:
            return keys_.left ? GLFW_PRESS : GLFW_RELEASE;
        case GLFW_KEY_S:
            return keys_.back ? GLFW_PRESS : GLFW_RELEASE;
        case GLFW_KEY_D:
            return keys_.right ? GLFW_PRESS : GLFW_RELEASE;
        case GLFW_KEY_SPACE:
            return keys_.lift ? GLFW_PRESS : GLFW_RELEASE;
        default:
            return source_.getKey(window, key);  // Escape and the hotkeys stay the player's
    }
}

void AutopilotInput::getCursorPos(GLFWwindow* window, double* x, double* y) {
    if (driving_) {
        *x = kHeldCursorX;
        *y = kHeldCursorY;
        return;
    }
    source_.getCursorPos(window, x, y);
    *x += kHeldCursorX - takeOverX_;
    *y += kHeldCursorY - takeOverY_;
}

PadState AutopilotInput::getGamepad(GLFWwindow* window) {
    return driving_ ? PadState() : source_.getGamepad(window);
}

// The player's own keyboard, whatever the source plays; the pad the source reads (live, the
// player's own).
bool AutopilotInput::playerTookOver(GLFWwindow* window) {
    for (int key : kFlightKeys) {
        if (glfwGetKey(window, key) != GLFW_RELEASE) {
            return true;
        }
    }
    return padInUse(source_.getGamepad(window), input::padDeadZone());
}
