#include "input/Input.h"

float LiveInput::frameStartTime(GLFWwindow*) {
    if (fixedFrameTime_ > 0.0f) {
        return clock_ += fixedFrameTime_;
    }
    return static_cast<float>(glfwGetTime());
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

namespace input {
namespace {
LiveInput liveInput;
InputSource* installed = &liveInput;
}  // namespace

InputSource& source() {
    return *installed;
}

ScopedInstall::ScopedInstall(InputSource& source) : previous_(installed) {
    installed = &source;
}

ScopedInstall::~ScopedInstall() {
    installed = previous_;
}

}  // namespace input
