#pragma once

#include <glm/glm.hpp>

#include "settings/GameSettings.h"

struct GLFWwindow;

enum CameraMode { Standard = 0, FreeMovable = 1, Off = 2 };

// The perspective both passes see the level through.
constexpr float kCameraFieldOfViewY = 1.05f;  // radians, vertical
constexpr float kCameraNear = 0.1f;
constexpr float kCameraFar = 520.0f;
// The camera's turn per pixel of cursor movement at a mouse sensitivity of 1.
constexpr float kCameraTurnPerPixel = 0.1f;  // degrees

// The camera's projection for a framebuffer of this width-to-height ratio.
glm::mat4 cameraProjection(float aspect);

// Turns mouse, right stick and I/J/K/L input into the view and projection of both passes and into
// `front`, the direction that steers the player. Standard orbits the origin, where the player's
// ball always is; FreeMovable flies; Off freezes the orientation but still flies with the keys.
class Camera {
  public:
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    int mode = Standard;
    bool firstMouse = true;  // the next cursor reading only seeds lastX/lastY
    // The window's framebuffer in pixels, as the last update read it.
    int clientWidth = 0;
    int clientHeight = 0;
    double cursorX = 0.0;  // screen pixels
    double cursorY = 0.0;  // screen pixels, growing downwards
    glm::vec3 position;
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    glm::vec3 freeLookFront{0.0f, 0.0f, -1.0f};
    glm::vec3 up;           // not normalised; lookAt normalises
    float yaw = -90.0f;     // degrees
    float pitch = 0.0f;     // degrees
    float distance = 2.0f;  // orbit radius of Standard mode
    float xOffset = 0.0f;
    float yOffset = 0.0f;
    float lastX = 0.0f;
    float lastY = 0.0f;
    float sensitivity = kCameraTurnPerPixel;      // degrees per pixel of cursor movement
    bool invertY = kDefaultInvertY;               // the cursor and the stick pitch the other way
    float padTurnSpeed = kDefaultPadCameraSpeed;  // degrees per second, right stick fully over
    float speed = 10.0f;                          // units per second of I/J/K/L movement

    Camera();

    void update(float deltaTime, GLFWwindow* window);
    // Back to where and how it looks at start-up, for a new game; the mode the player chose
    // (F6) stays, as do the cursor that goes with it and the player's turn settings. The next
    // cursor reading only seeds.
    void reset();

    glm::vec3 getPosition() const { return position; }
    glm::vec3 getFront() const { return front; }
    glm::mat4 getView() const { return view; }
    glm::mat4 getProjection() const { return projection; }
    int getMode() const { return mode; }
    void setMode(int newMode) { mode = newMode; }
    void setFirstMouse(bool value) { firstMouse = value; }

  private:
    void updateVectors();
    void processMouse(float deltaTime, GLFWwindow* window);
    void clampPitch();
    void updateFreeLookFront();
    void updateMatrices(float deltaTime, GLFWwindow* window);
    void processKeyboard(float deltaTime, GLFWwindow* window);
};
