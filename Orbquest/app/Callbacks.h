#pragma once

struct GLFWwindow;

// Runs the whole hotkey table for every key event, whatever key the event is about; a press of
// F12 also asks for a screenshot, and presses of P, R, N, H and F1 pause, restart, go on to the
// next level after a win, hide the display and show its key line.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);
// The window lost (or got back) the keyboard focus: a loss pauses the game.
void focusCallback(GLFWwindow* window, int focused);
// The texture sampling F4 and F5 chose, on the level's textures (a new level's too).
void applyTextureFilters();
