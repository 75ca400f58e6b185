#include "app/Settings.h"

#include "render/SceneRenderer.h"

int windowWidth = kDefaultWindowWidth;
int windowHeight = kDefaultWindowHeight;
bool fullScreen = kDefaultFullScreen;
int refreshRate = kDefaultRefreshRate;

bool showFrameTime = false;
bool wireframe = false;
char samplingMode = 'B';
char mipMappingMode = 'L';
bool transparencyEnabled = true;

float deltaTime = 0.0f;
float lastFrameTime = 0.0f;
float currentFrameTime = 0.0f;

ExitControl* exitControl = nullptr;
SceneRenderer* sceneRenderer = nullptr;
ScreenshotKey* screenshotKey = nullptr;
GameAudio* gameAudio = nullptr;
GameFlow* gameFlow = nullptr;

ColourPassSettings colourPassSettings(int width, int height) {
    return {width, height, transparencyEnabled};
}

void resetSettings() {
    windowWidth = kDefaultWindowWidth;
    windowHeight = kDefaultWindowHeight;
    fullScreen = kDefaultFullScreen;
    refreshRate = kDefaultRefreshRate;
    showFrameTime = false;
    wireframe = false;
    samplingMode = 'B';
    mipMappingMode = 'L';
    transparencyEnabled = true;
    deltaTime = 0.0f;
    lastFrameTime = 0.0f;
    currentFrameTime = 0.0f;
}
