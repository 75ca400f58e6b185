#include "input/Input.h"

#include "settings/GameSettings.h"

void InputSource::waitForEvents(GLFWwindow*, double seconds, const std::function<bool()>& done) {
    input::waitForWindowEvents(seconds, done);
}

float LiveInput::frameStartTime(GLFWwindow*) {
    pad_ = readFirstGamepad();
    if (fixedFrameTime_ > 0.0f) {
        return clock_ += fixedFrameTime_;
    }
    return static_cast<float>(glfwGetTime() - waited_);
}

int LiveInput::getKey(GLFWwindow* window, int key) {
    return glfwGetKey(window, key);
}

void LiveInput::getCursorPos(GLFWwindow* window, double* x, double* y) {
    glfwGetCursorPos(window, x, y);
}

void LiveInput::pollEvents(GLFWwindow*) {
    glfwPollEvents();
}

void LiveInput::setKeyCallback(GLFWwindow* window, GLFWkeyfun callback) {
    glfwSetKeyCallback(window, callback);
}

void LiveInput::setFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) {
    glfwSetWindowFocusCallback(window, callback);
}

void LiveInput::waitForEvents(GLFWwindow*, double seconds, const std::function<bool()>& done) {
    waited_ += input::waitForWindowEvents(seconds, done);
}

namespace input {
namespace {
LiveInput liveInput;
InputSource* installed = &liveInput;
float deadZone = kDefaultPadDeadZone;
}  // namespace

float padDeadZone() {
    return deadZone;
}

void setPadDeadZone(float value) {
    deadZone = value;
}

InputSource& source() {
    return *installed;
}

ScopedInstall::ScopedInstall(InputSource& source) : previous_(installed) {
    installed = &source;
}

ScopedInstall::~ScopedInstall() {
    installed = previous_;
}

double waitForWindowEvents(double seconds, const std::function<bool()>& done) {
    const double start = glfwGetTime();
    double waited = 0.0;
    while (waited < seconds && !done()) {
        glfwWaitEventsTimeout(seconds - waited);
        waited = glfwGetTime() - start;
    }
    return waited;
}

}  // namespace input
