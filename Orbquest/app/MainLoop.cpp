#include "app/MainLoop.h"

#include <GL/glew.h>

#include <chrono>
#include <iostream>
#include <thread>

#include "app/Callbacks.h"
#include "app/CommandLine.h"
#include "app/ExitControl.h"
#include "app/FrameCapture.h"
#include "app/FrameStats.h"
#include "app/Input.h"
#include "app/Settings.h"
#include "game/SceneCreator.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"

namespace {

constexpr int kFrameTimeInterval = 30;  // frames between two frame-time lines
// The last frame stays on screen this long after the game is won or lost.
constexpr std::chrono::milliseconds kEndOfGamePause(3000);

void printFrameTime() {
    std::cout << "Frametime: " << deltaTime * 1000 << "ms" << " -- " << 1 / deltaTime << "fps"
              << std::endl;
}

void checkGlState() {
    if (glGetError() != GL_NO_ERROR) {
        std::cout << "An GL-Error occured!" << std::endl;
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cout << "The framebuffer is not complete!" << std::endl;
    }
}

}  // namespace

void runMainLoop(GLFWwindow* window, const Options& options, FrameCapture* capture,
                 FrameStats* stats) {
    int frameCounter = 0;
    while (!exitControl->isQuitRequested() && !glfwWindowShouldClose(window)) {
        currentFrameTime = input::frameStartTime(window);
        deltaTime = currentFrameTime - lastFrameTime;
        lastFrameTime = currentFrameTime;

        if (stats) {
            stats->shadowPassBegins();
        }
        if (!options.emptyFrames) {
            renderShadowPass(*sceneRenderer);
        }
        if (stats) {
            stats->shadowPassEnds();
        }
        if (!options.emptyFrames) {
            // All movement of the frame happens between the two passes.
            sceneRenderer->sceneShader->use();
            sceneRenderer->update(deltaTime, window, sceneRenderer->sceneShader);
        }
        if (stats) {
            stats->colourPassBegins();
        }
        if (options.emptyFrames) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        } else {
            renderColourPass(*sceneRenderer);
        }
        if (stats) {
            stats->colourPassEnds();
        }

        if (capture) {
            capture->capture();
        }
        if (stats) {
            stats->swapBegins();
        }
        glfwSwapBuffers(window);
        if (stats) {
            stats->swapEnds();
        }
        if (showFrameTime && frameCounter % kFrameTimeInterval == 0) {
            printFrameTime();
        }
        input::pollEvents(window);
        exitControl->update(window);
        // Registered after every poll, so the very first poll runs without callbacks.
        if (!options.emptyFrames) {  // the hotkeys act on the level
            input::setKeyCallback(window, keyCallback);
        }
        glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);

        const SceneCreator* level = options.emptyFrames ? nullptr : sceneRenderer->sceneCreator;
        if (level && (level->gameLost || level->gameWon)) {
            // The window does not refresh meanwhile; the last frame stays as it was drawn.
            std::this_thread::sleep_for(kEndOfGamePause);
            exitControl->setQuitRequested(true);
        }
        checkGlState();
        ++frameCounter;
        if (options.frames > 0 && frameCounter >= options.frames) {
            exitControl->setQuitRequested(true);
        }
    }
}
