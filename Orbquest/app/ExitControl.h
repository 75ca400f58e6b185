#pragma once

struct GLFWwindow;

// The quit flag of the main loop. Escape sets it; nothing but setQuitRequested clears it.
class ExitControl {
  public:
    bool quitRequested = false;

    void update(GLFWwindow* window);
    bool isQuitRequested() const { return quitRequested; }
    void setQuitRequested(bool requested) { quitRequested = requested; }
};
