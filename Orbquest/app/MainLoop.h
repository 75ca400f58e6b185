#pragma once

struct GLFWwindow;

struct Options;

// Runs frames until quitting is requested, the window is closed or the game has ended.
void runMainLoop(GLFWwindow* window, const Options& options);
