#pragma once

// Process-wide settings and render options. The settings file and the command line fill the
// settings once at start-up; only the key callback changes the render options afterwards.

#include "settings/GameSettings.h"

struct ColourPassSettings;
class ExitControl;
class GameAudio;
class GameFlow;
class SceneRenderer;
class ScreenshotKey;

extern int windowWidth;   // screen pixels the window is made with
extern int windowHeight;  // screen pixels the window is made with
extern bool fullScreen;
extern int refreshRate;  // Hz, a hint for full-screen windows

extern bool showFrameTime;
extern bool wireframe;
extern char samplingMode;    // 'N' nearest neighbour, 'B' bilinear
extern char mipMappingMode;  // '0' off, 'N' nearest level, 'L' linear between levels
extern bool transparencyEnabled;

// Frame timing, in seconds. deltaTime is the only clock the rest of the game sees.
extern float deltaTime;
extern float lastFrameTime;
extern float currentFrameTime;

// The long-lived application objects, reachable from the key callback.
extern ExitControl* exitControl;
extern SceneRenderer* sceneRenderer;
extern ScreenshotKey* screenshotKey;
extern GameAudio* gameAudio;  // null with --empty-frames
extern GameFlow* gameFlow;    // pause, restart, the end of a game and the display

// The settings the colour pass reads, as they are now, for a framebuffer of 'width' x 'height'
// pixels (the window's framebuffer as the frame starts).
ColourPassSettings colourPassSettings(int width, int height);

// Puts every setting and render option back to its start-up value (used between tests).
void resetSettings();
