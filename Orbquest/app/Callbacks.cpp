#include "app/Callbacks.h"

#include <GL/glew.h>

#include <iostream>

#include "input/Input.h"
#include "app/GameFlow.h"
#include "app/ScreenshotKey.h"
#include "app/Settings.h"
#include "audio/GameAudio.h"
#include "game/SceneCreator.h"
#include "render/Camera.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"
#include "render/Texture.h"

namespace {

bool isDown(GLFWwindow* window, int key) {
    return input::getKey(window, key) != GLFW_RELEASE;
}

void printHelp() {
    std::cout << std::endl;
    std::cout << "F1 - Help: " << std::endl;
    std::cout << "F2 - Frame Time: On / Off" << std::endl;
    std::cout << "F3 - Wire Frame: On / Off" << std::endl;
    std::cout << "F4 - Textur-Sampling-Quality: Nearest Neighbor / Bilinear" << std::endl;
    std::cout << "F5 - Mip Mapping-Quality: Off / Nearest Neighbor / Linear" << std::endl;
    std::cout << "F6 - Camera: Free Movable / Off / Standard" << std::endl;
    std::cout << "F7 - Culling-Info: Number of objects culled/drawn" << std::endl;
    std::cout << "F8 - Viewfrustum-Culling: On / Off " << std::endl;
    std::cout << "F9 - Transparency On / Off" << std::endl;
}

void toggleFrameTime() {
    showFrameTime = !showFrameTime;
    std::cout << std::endl;
}

void toggleWireframe() {
    wireframe = !wireframe;
    std::cout << std::endl;
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        std::cout << "Wireframe: On" << std::endl;
    } else {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        std::cout << "Wireframe: Off" << std::endl;
    }
}

void printFilterStatus() {
    std::cout << (samplingMode == 'N' ? "Textur-Sampling: Nearest Neighbor"
                                      : "Textur-Sampling: Bilinear")
              << std::endl;
    switch (mipMappingMode) {
        case '0':
            std::cout << "Mip Mapping: Off" << std::endl;
            break;
        case 'N':
            std::cout << "Mip Mapping: Nearest Neighbor" << std::endl;
            break;
        default:
            std::cout << "Mip Mapping: Linear" << std::endl;
            break;
    }
}

void toggleSampling() {
    samplingMode = samplingMode == 'B' ? 'N' : 'B';
    applyTextureFilters();
    std::cout << std::endl;
    printFilterStatus();
}

void cycleMipMapping() {
    if (mipMappingMode == 'L') {
        mipMappingMode = '0';
    } else if (mipMappingMode == '0') {
        mipMappingMode = 'N';
    } else if (mipMappingMode == 'N') {
        mipMappingMode = 'L';
    }
    applyTextureFilters();
    std::cout << std::endl;
    printFilterStatus();
}

// Standard -> Free Movable -> Off -> Standard. Entering a mode that reads the mouse captures
// the cursor and skips the first reading, so the view does not jump.
void stepCameraMode(GLFWwindow* window) {
    std::cout << std::endl;
    Camera* camera = sceneRenderer->getCamera();
    switch (camera->getMode()) {
        case Standard:
            camera->setMode(FreeMovable);
            glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
            camera->setFirstMouse(true);
            std::cout << "Camera: Free Movable" << std::endl;
            break;
        case FreeMovable:
            camera->setMode(Off);
            glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
            std::cout << "Camera: Off" << std::endl;
            break;
        case Off:
            camera->setMode(Standard);
            glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
            camera->setFirstMouse(true);
            std::cout << "Camera: Standard" << std::endl;
            break;
    }
}

void toggleCullingInfo() {
    std::cout << std::endl;
    SceneCreator* level = sceneRenderer->getSceneCreator();
    level->cullingInfo = !level->cullingInfo;
    std::cout << (level->cullingInfo ? "Culling-Info: On" : "Culling-Info: Off") << std::endl;
}

void toggleCulling() {
    std::cout << std::endl;
    SceneCreator* level = sceneRenderer->getSceneCreator();
    level->cullingEnabled = !level->cullingEnabled;
    std::cout << (level->cullingEnabled ? "Viewfrustum-Culling: On" : "Viewfrustum-Culling: Off")
              << std::endl;
}

void toggleTransparency() {
    std::cout << std::endl;
    transparencyEnabled = !transparencyEnabled;
    std::cout << (transparencyEnabled ? "Transparency: On" : "Transparency: Off") << std::endl;
    // Reaches whichever program is current; the colour pass sends the value again every frame.
    const GLint location =
        glGetUniformLocation(sceneRenderer->getSceneShader()->programHandle, "transparency");
    glUniform1f(location, transparencyEnabled ? 1.0f : 0.0f);
}

void toggleLightMarker(GLFWwindow*) {
    SceneCreator* level = sceneRenderer->getSceneCreator();
    level->showLightMarker = !level->showLightMarker;
}

void askForScreenshot(GLFWwindow*) {
    if (screenshotKey) {
        screenshotKey->press();
    }
}

void toggleSound(GLFWwindow*) {
    if (gameAudio) {
        gameAudio->toggleMute();
    }
}

template <typename... Args>
void withGameFlow(void (GameFlow::*act)(Args...), Args... args) {
    if (gameFlow) {
        (gameFlow->*act)(args...);
    }
}

struct KeyBinding {
    int key;
    void (*act)(GLFWwindow* window);
};

// The render-option table, in the order the keys are tested.
const KeyBinding kRenderOptionKeys[] = {
    {GLFW_KEY_F1, [](GLFWwindow*) { printHelp(); }},
    {GLFW_KEY_F2, [](GLFWwindow*) { toggleFrameTime(); }},
    {GLFW_KEY_F3, [](GLFWwindow*) { toggleWireframe(); }},
    {GLFW_KEY_F4, [](GLFWwindow*) { toggleSampling(); }},
    {GLFW_KEY_F5, [](GLFWwindow*) { cycleMipMapping(); }},
    {GLFW_KEY_F6, stepCameraMode},
    {GLFW_KEY_F7, [](GLFWwindow*) { toggleCullingInfo(); }},
    {GLFW_KEY_F8, [](GLFWwindow*) { toggleCulling(); }},
    {GLFW_KEY_F9, [](GLFWwindow*) { toggleTransparency(); }},
    {GLFW_KEY_1, toggleLightMarker},
};

// Keys outside the table: each acts once on its own press events, never on repeats.
const KeyBinding kPressKeys[] = {
    {GLFW_KEY_F12, askForScreenshot},
    {GLFW_KEY_M, toggleSound},
    {GLFW_KEY_P, [](GLFWwindow* window) { withGameFlow(&GameFlow::togglePause, window); }},
    {GLFW_KEY_R, [](GLFWwindow* window) { withGameFlow(&GameFlow::restart, window); }},
    {GLFW_KEY_N, [](GLFWwindow* window) { withGameFlow(&GameFlow::playNextLevel, window); }},
    {GLFW_KEY_H, [](GLFWwindow*) { withGameFlow(&GameFlow::toggleDisplay); }},
    {GLFW_KEY_F1, [](GLFWwindow*) { withGameFlow(&GameFlow::showHelp); }},
};

}  // namespace

// Texture k of the level always lives on unit k.
void applyTextureFilters() {
    SceneCreator* level = sceneRenderer->getSceneCreator();
    Texture* const textures[] = {level->woodTexture,        level->bubblesTexture,
                                 level->smileTexture,       level->colourTexture,
                                 level->yellowSmileTexture, level->redCryTexture,
                                 level->greenSmileTexture};
    for (int unit = 0; unit < 7; ++unit) {
        textures[unit]->bind(unit);
        textures[unit]->setSampling(mipMappingMode, samplingMode, unit);
    }
}

// Every key event, whatever its key and action, runs the whole table: each key of the table
// that is down at that moment acts, in table order. A held key therefore acts again on its
// auto-repeats and on any other key's events; its own release finds it up.
void keyCallback(GLFWwindow* window, int key, int, int action, int) {
    for (const auto& entry : kRenderOptionKeys) {
        if (isDown(window, entry.key)) {
            entry.act(window);
        }
    }
    if (action != GLFW_PRESS) {
        return;
    }
    for (const auto& entry : kPressKeys) {
        if (key == entry.key) {
            entry.act(window);
        }
    }
}

void focusCallback(GLFWwindow* window, int focused) {
    if (!focused) {
        withGameFlow(&GameFlow::focusLost, window);
    }
}
