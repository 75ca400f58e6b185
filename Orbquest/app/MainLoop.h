#pragma once

struct GLFWwindow;

// Runs frames until quitting is requested, the window is closed or the game has ended.
void runMainLoop(GLFWwindow* window);
