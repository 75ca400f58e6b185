#include "app/MainLoop.h"

#include <GL/glew.h>

#include <iostream>

#include "app/Callbacks.h"
#include "app/CommandLine.h"
#include "app/ExitControl.h"
#include "app/FrameCapture.h"
#include "app/FrameStats.h"
#include "app/GameFlow.h"
#include "input/Input.h"
#include "input/PadPresses.h"
#include "app/ScreenshotKey.h"
#include "app/Settings.h"
#include "audio/GameAudio.h"
#include "game/SceneCreator.h"
#include "render/SceneRenderer.h"
#include "render/Shader.h"

namespace {

constexpr int kFrameTimeInterval = 30;  // frames between two frame-time lines
// The last frame stays on screen this long after the game is won or lost, unless R starts a
// new game meanwhile.
constexpr double kEndOfGameSeconds = 3.0;

void printFrameTime() {
    std::cout << "Frametime: " << deltaTime * 1000 << "ms"
              << " -- " << 1 / deltaTime << "fps" << std::endl;
}

// The window's framebuffer in pixels, read once a frame: the colour pass, the picture kept and
// F12's pictures all take this frame's size, so a resized window (or a scaled desktop, where
// the framebuffer is larger than the window) is drawn whole.
struct FrameSize {
    int width = 0;
    int height = 0;
};

FrameSize framebufferSize(GLFWwindow* window) {
    FrameSize size;
    glfwGetFramebufferSize(window, &size.width, &size.height);
    return size;
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
void runPasses(GLFWwindow* window, const Options& options, bool drawn, FrameStats* stats,
               FrameSize size) {
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
        // All movement of the frame happens between the two passes; a paused game has none.
        sceneRenderer->sceneShader->use();
        if (!sceneRenderer->sceneCreator->paused) {
            sceneRenderer->update(deltaTime, window, sceneRenderer->sceneShader);
        }
    }
    mark(&FrameStats::colourPassBegins);
    if (options.emptyFrames) {
        if (drawn) {
            glViewport(0, 0, size.width, size.height);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
    } else if (drawn) {
        renderColourPass(*sceneRenderer, colourPassSettings(size.width, size.height));
    } else {
        countColourPass(*sceneRenderer);
    }
    if (gameFlow && !options.emptyFrames) {
        gameFlow->afterColourPass();
        if (drawn) {
            gameFlow->drawDisplay(window);
        }
    }
    mark(&FrameStats::colourPassEnds);
}

// A game that ends in a fast-forwarded frame still shows how it ended: that frame is drawn
// after its update, without printing its lines a second time.
void showEndPicture(GLFWwindow* window, FrameCapture* capture) {
    SceneCreator& level = *sceneRenderer->sceneCreator;
    const FrameSize size = framebufferSize(window);
    renderShadowPass(*sceneRenderer);
    sceneRenderer->sceneShader->use();
    level.reportLines = false;
    renderColourPass(*sceneRenderer, colourPassSettings(size.width, size.height));
    level.reportLines = true;
    if (gameFlow) {
        gameFlow->drawDisplay(window);
    }
    if (screenshotKey) {
        screenshotKey->writePending(size.width, size.height);
    }
    if (capture) {
        capture->capture(size.width, size.height);
    }
    glfwSwapBuffers(window);
}

bool levelEnded() {
    const SceneCreator& level = *sceneRenderer->sceneCreator;
    return level.gameWon || level.gameLost;
}

// The last picture stays while the window keeps answering: R there starts a new game (N a game
// on the next level, which replaces the level), Escape or closing the window ends at once; else
// the game ends as it always has, after the wait.
void endOfGame(GLFWwindow* window) {
    const auto decided = [&] {
        exitControl->update(window);
        return !levelEnded() || exitControl->isQuitRequested() || glfwWindowShouldClose(window);
    };
    input::waitForEvents(window, kEndOfGameSeconds, decided);
    if (levelEnded()) {
        exitControl->setQuitRequested(true);
        // The sound plays on meanwhile: a file being written gets the wait too, the fanfare in
        // it. A new game goes on from where the file is.
        if (gameAudio) {
            gameAudio->pass(kEndOfGameSeconds);
        }
    }
}

// The pad's Start pauses and resumes as P does, its Back starts again as R does: once per press.
void answerPadButtons(GLFWwindow* window, PadPresses& presses) {
    presses.next(input::getGamepad(window));
    if (!gameFlow) {
        return;
    }
    if (presses.pressed(GLFW_GAMEPAD_BUTTON_START)) {
        gameFlow->togglePause(window);
    }
    if (presses.pressed(GLFW_GAMEPAD_BUTTON_BACK)) {
        gameFlow->restart(window);
    }
}

}  // namespace

void runMainLoop(GLFWwindow* window, const Options& options, FrameCapture* capture,
                 FrameStats* stats) {
    int frameCounter = 0;
    PadPresses padPresses;
    while (!exitControl->isQuitRequested() && !glfwWindowShouldClose(window)) {
        currentFrameTime = input::frameStartTime(window);
        deltaTime = currentFrameTime - lastFrameTime;
        lastFrameTime = currentFrameTime;
        answerPadButtons(window, padPresses);
        if (gameFlow) {
            gameFlow->advance(deltaTime);
        }

        // With --fast-forward a replay's frames go undrawn up to its last one; the last frame of
        // a --frames run is drawn too, so there is always a picture to keep.
        const bool lastFrameOfRun = options.frames > 0 && frameCounter + 1 >= options.frames;
        const bool drawn = !options.fastForward || !input::scriptedFramesFollow() || lastFrameOfRun;
        const FrameSize size = drawn ? framebufferSize(window) : FrameSize();
        runPasses(window, options, drawn, drawn ? stats : nullptr, size);
        if (gameAudio) {
            // A paused frame silences the rolling loop.
            const bool paused = sceneRenderer->sceneCreator->paused;
            gameAudio->update(*sceneRenderer->sceneCreator, *sceneRenderer->camera, deltaTime,
                              paused);
        }
        if (drawn) {
            // An F12 screenshot asked for in an undrawn frame waits for the next drawn one.
            if (screenshotKey) {
                screenshotKey->writePending(size.width, size.height);
            }
            if (capture) {
                capture->capture(size.width, size.height);
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
            input::setFocusCallback(window, focusCallback);
        }

        const SceneCreator* level = options.emptyFrames ? nullptr : sceneRenderer->sceneCreator;
        if (level && (level->gameLost || level->gameWon)) {
            if (!drawn) {
                showEndPicture(window, capture);
            }
            endOfGame(window);
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
