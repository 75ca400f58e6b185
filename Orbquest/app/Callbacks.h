#pragma once

struct GLFWwindow;

// Runs the whole hotkey table for every key event, whatever key the event is about; a press of
// F12 also asks for a screenshot.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);
void framebufferSizeCallback(GLFWwindow* window, int width, int height);
