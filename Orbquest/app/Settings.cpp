#include "app/Settings.h"

#include "render/SceneRenderer.h"

int windowWidth = 1024;
int windowHeight = 768;
bool fullScreen = false;
int refreshRate = 60;

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

ColourPassSettings colourPassSettings() {
    return {windowWidth, windowHeight, transparencyEnabled};
}

void resetSettings() {
    windowWidth = 1024;
    windowHeight = 768;
    fullScreen = false;
    refreshRate = 60;
    showFrameTime = false;
    wireframe = false;
    samplingMode = 'B';
    mipMappingMode = 'L';
    transparencyEnabled = true;
    deltaTime = 0.0f;
    lastFrameTime = 0.0f;
    currentFrameTime = 0.0f;
}
