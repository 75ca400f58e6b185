#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>

// A hidden window with an OpenGL 4.3 core context and GLEW loaded, made once per test process
// and current until it exits. Needs a display (the test command runs under Xvfb).
GLFWwindow* sharedGlContext();

// The same for the probe programs, which report failure on their own.
GLFWwindow* createHiddenGlWindow(int width, int height);
