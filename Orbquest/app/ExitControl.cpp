#include "app/ExitControl.h"

#include <GLFW/glfw3.h>

#include "input/Input.h"

void ExitControl::update(GLFWwindow* window) {
    if (input::getKey(window, GLFW_KEY_ESCAPE) != GLFW_RELEASE) {
        quitRequested = true;
    }
}
