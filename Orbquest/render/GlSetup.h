#pragma once

// The OpenGL context the game's shaders are written for, and the state the game draws with.
// The game, its tools and its tests all set up GL through here.

constexpr int kGlVersionMajor = 4;
constexpr int kGlVersionMinor = 3;

// The yellow sky: the colour every frame is cleared to (red, green, blue, alpha).
constexpr float kClearColour[4] = {0.9f, 0.7f, 0.1f, 1.0f};

// Asks GLFW for an OpenGL 4.3 core-profile context in the next window it creates.
void hintGameContext();

// Once, with the context current: the clear colour, the viewport, depth test, back-face culling
// and alpha blending. Nothing else changes these while the game runs.
void setFixedGlState(int viewportWidth, int viewportHeight);
