#include "render/Camera.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "input/Input.h"

namespace {

const float kPitchLimit = 89.0f;  // degrees; at 90 the free-look direction would be parallel to up

}  // namespace

glm::mat4 cameraProjection(float aspect) {
    return glm::perspective(kCameraFieldOfViewY, aspect, kCameraNear, kCameraFar);
}

Camera::Camera() {
    // Behind the ball and slightly above it; up is only normalised by lookAt.
    position = glm::vec3(0.0f, 0.5f, distance);
    up = glm::vec3(0.0f, distance, 0.0f);
}

void Camera::reset() {
    const Camera kept = *this;
    *this = Camera();
    mode = kept.mode;
    sensitivity = kept.sensitivity;
    invertY = kept.invertY;
    padTurnSpeed = kept.padTurnSpeed;
}

void Camera::update(float deltaTime, GLFWwindow* window) {
    // The aspect of the pixels drawn, as the colour pass's viewport takes them.
    glfwGetFramebufferSize(window, &clientWidth, &clientHeight);
    if (mode == Standard || mode == FreeMovable) {
        input::getCursorPos(window, &cursorX, &cursorY);
        // Before processMouse on purpose: position and front trail the angles by one update.
        updateVectors();
        processMouse(deltaTime, window);
        if (mode == FreeMovable) {
            clampPitch();
            updateFreeLookFront();
        }
    }
    updateMatrices(deltaTime, window);
}

void Camera::updateVectors() {
    const float yawRadians = glm::radians(yaw);
    const float pitchRadians = glm::radians(pitch);
    if (mode == Standard) {
        // The height is left alone, so a height flown to in FreeMovable stays in the orbit.
        position.x = std::cos(pitchRadians) * std::cos(yawRadians) * distance;
        position.z = -std::cos(pitchRadians) * std::sin(yawRadians) * distance;
        front.x = -position.x;
        front.z = -position.z;
        front = glm::normalize(front);
    } else if (mode == FreeMovable) {
        front = glm::normalize(glm::vec3(std::cos(pitchRadians) * std::cos(yawRadians),
                                         std::sin(pitchRadians),
                                         std::cos(pitchRadians) * std::sin(yawRadians)));
    }
}

void Camera::processMouse(float deltaTime, GLFWwindow* window) {
    if (firstMouse) {
        lastX = static_cast<float>(cursorX);
        lastY = static_cast<float>(cursorY);
        firstMouse = false;
    }
    xOffset = static_cast<float>(cursorX) - lastX;
    yOffset = lastY - static_cast<float>(cursorY);  // screen y grows downwards
    lastX = static_cast<float>(cursorX);
    lastY = static_cast<float>(cursorY);

    xOffset *= sensitivity;
    yOffset *= sensitivity;
    // The right stick turns as the cursor would, at a rate growing with its travel (stick y
    // grows downwards too).
    const PadState pad = input::getGamepad(window);
    const float turn = padTurnSpeed * deltaTime;
    xOffset += stickPastDeadZone(pad.rightX, input::padDeadZone()) * turn;
    yOffset -= stickPastDeadZone(pad.rightY, input::padDeadZone()) * turn;
    if (invertY) {
        yOffset = -yOffset;
    }

    // Either way the view turns the way the cursor moves; the orbit runs yaw the other way round.
    if (mode == Standard) {
        yaw -= xOffset;
    } else {
        yaw += xOffset;
    }
    if (mode == FreeMovable) {
        pitch += yOffset;
    }
}

void Camera::clampPitch() {
    if (pitch > kPitchLimit) {
        pitch = kPitchLimit;
    }
    if (pitch < -kPitchLimit) {
        pitch = -kPitchLimit;
    }
}

void Camera::updateFreeLookFront() {
    const float yawRadians = glm::radians(yaw);
    const float pitchRadians = glm::radians(pitch);
    freeLookFront = glm::normalize(glm::vec3(std::cos(yawRadians) * std::cos(pitchRadians),
                                             std::sin(pitchRadians),
                                             std::sin(yawRadians) * std::cos(pitchRadians)));
}

void Camera::updateMatrices(float deltaTime, GLFWwindow* window) {
    if (mode == Standard) {
        view = glm::lookAt(position, glm::vec3(0.0f), up);
    } else {
        view = glm::lookAt(position, position + freeLookFront, up);
    }
    // A minimised window can report a zero-sized framebuffer; the old projection is kept
    // rather than one full of infinities.
    if (clientWidth > 0 && clientHeight > 0) {
        const float aspect = static_cast<float>(clientWidth) / static_cast<float>(clientHeight);
        projection = cameraProjection(aspect);
    }
    // After the view on purpose: keyboard movement shows in the matrices of the next update.
    if (mode != Standard) {
        processKeyboard(deltaTime, window);
    }
}

void Camera::processKeyboard(float deltaTime, GLFWwindow* window) {
    const float velocity = speed * deltaTime;
    const glm::vec3 right = glm::normalize(glm::cross(freeLookFront, up));
    if (input::getKey(window, GLFW_KEY_I) != GLFW_RELEASE) {
        position += freeLookFront * velocity;
    }
    if (input::getKey(window, GLFW_KEY_J) != GLFW_RELEASE) {
        position -= right * velocity;
    }
    if (input::getKey(window, GLFW_KEY_K) != GLFW_RELEASE) {
        position -= freeLookFront * velocity;
    }
    if (input::getKey(window, GLFW_KEY_L) != GLFW_RELEASE) {
        position += right * velocity;
    }
}
