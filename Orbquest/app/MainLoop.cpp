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
#include "input/Input.h"
#include "app/ScreenshotKey.h"
#include "app/Settings.h"
#include "audio/GameAudio.h"
#include "game/SceneCreator.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"

namespace {

constexpr int kFrameTimeInterval = 30;  // frames between two frame-time lines
// The last frame stays on screen this long after the game is won or lost.
constexpr std::chrono::milliseconds kEndOfGamePause(3000);

void printFrameTime() {
    std::cout << "Frametime: " << deltaTime * 1000 << "ms"
              << " -- " << 1 / deltaTime << "fps" << std::endl;
}

void checkGlState() {
    if (glGetError() != GL_NO_ERROR) {
        std::cout << "An GL-Error occured!" << std::endl;
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cout << "The framebuffer is not complete!" << std::endl;
    }
}

// The frame's passes around the world update. A frame that is not drawn (fast-forward) still
// updates the world and runs the colour pass's counting, win check and console lines. 'stats',
// when given, times the passes.
void runPasses(GLFWwindow* window, const Options& options, bool drawn, FrameStats* stats) {
    auto mark = [stats](void (FrameStats::*step)()) {
        if (stats) {
            (stats->*step)();
        }
    };
    mark(&FrameStats::shadowPassBegins);
    if (drawn && !options.emptyFrames) {
        renderShadowPass(*sceneRenderer);
    }
    mark(&FrameStats::shadowPassEnds);
    if (!options.emptyFrames) {
        // All movement of the frame happens between the two passes.
        sceneRenderer->sceneShader->use();
        sceneRenderer->update(deltaTime, window, sceneRenderer->sceneShader);
    }
    mark(&FrameStats::colourPassBegins);
    if (options.emptyFrames) {
        if (drawn) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
    } else if (drawn) {
        renderColourPass(*sceneRenderer, colourPassSettings());
    } else {
        countColourPass(*sceneRenderer);
    }
    mark(&FrameStats::colourPassEnds);
}

// A game that ends in a fast-forwarded frame still shows how it ended: that frame is drawn
// after its update, without printing its lines a second time.
void showEndPicture(GLFWwindow* window, FrameCapture* capture) {
    SceneCreator& level = *sceneRenderer->sceneCreator;
    renderShadowPass(*sceneRenderer);
    sceneRenderer->sceneShader->use();
    level.reportLines = false;
    renderColourPass(*sceneRenderer, colourPassSettings());
    level.reportLines = true;
    if (screenshotKey) {
        screenshotKey->writePending();
    }
    if (capture) {
        capture->capture();
    }
    glfwSwapBuffers(window);
}

}  // namespace

void runMainLoop(GLFWwindow* window, const Options& options, FrameCapture* capture,
                 FrameStats* stats) {
    int frameCounter = 0;
    while (!exitControl->isQuitRequested() && !glfwWindowShouldClose(window)) {
        currentFrameTime = input::frameStartTime(window);
        deltaTime = currentFrameTime - lastFrameTime;
        lastFrameTime = currentFrameTime;

        // With --fast-forward a replay's frames go undrawn up to its last one; the last frame of
        // a --frames run is drawn too, so there is always a picture to keep.
        const bool lastFrameOfRun = options.frames > 0 && frameCounter + 1 >= options.frames;
        const bool drawn = !options.fastForward || !input::scriptedFramesFollow() || lastFrameOfRun;
        runPasses(window, options, drawn, drawn ? stats : nullptr);
        if (gameAudio) {
            // The game has no pause yet; once it has, a paused frame silences the rolling loop.
            const bool paused = false;
            gameAudio->update(*sceneRenderer->sceneCreator, *sceneRenderer->camera, deltaTime,
                              paused);
        }
        if (drawn) {
            // An F12 screenshot asked for in an undrawn frame waits for the next drawn one.
            if (screenshotKey) {
                screenshotKey->writePending();
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
            if (!drawn) {
                showEndPicture(window, capture);
            }
            // The window does not refresh meanwhile; the last frame stays as it was drawn. The
            // sound plays on: a file being written gets the wait too, the fanfare in it.
            if (gameAudio) {
                gameAudio->pass(std::chrono::duration<double>(kEndOfGamePause).count());
            }
            std::this_thread::sleep_for(kEndOfGamePause);
            exitControl->setQuitRequested(true);
        }
        checkGlState();
        ++frameCounter;
        if (options.frames > 0 && frameCounter >= options.frames) {
            exitControl->setQuitRequested(true);
        }
    }
    if (screenshotKey) {
        screenshotKey->dropPending();
    }
}
