#include "app/MainLoop.h"

#include <GL/glew.h>

#include <chrono>
#include <iostream>
#include <thread>

#include "app/Callbacks.h"
#include "app/CommandLine.h"
#include "app/ExitControl.h"
#include "app/Input.h"
#include "app/Settings.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"

namespace {

constexpr int kFrameTimeInterval = 30;  // frames between two frame-time lines

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

void runMainLoop(GLFWwindow* window, const Options& options) {
    int frameCounter = 0;
    while (!exitControl->isQuitRequested() && !glfwWindowShouldClose(window)) {
        currentFrameTime = input::frameStartTime(window);
        deltaTime = currentFrameTime - lastFrameTime;
        lastFrameTime = currentFrameTime;

        sceneRenderer->sceneShader->use();

        glViewport(0, 0, windowWidth, windowHeight);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        glfwSwapBuffers(window);
        if (showFrameTime && frameCounter % kFrameTimeInterval == 0) {
            printFrameTime();
        }
        input::pollEvents(window);
        exitControl->update(window);
        // Registered after every poll, so the very first poll runs without callbacks.
        input::setKeyCallback(window, keyCallback);
        glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);

        checkGlState();
        ++frameCounter;
        if (options.frames > 0 && frameCounter >= options.frames) {
            exitControl->setQuitRequested(true);
        }
    }
}
