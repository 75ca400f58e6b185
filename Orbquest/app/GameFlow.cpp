#include "app/GameFlow.h"

#include <GLFW/glfw3.h>

#include <iostream>

#include "app/Settings.h"
#include "audio/GameAudio.h"
#include "game/Autopilot.h"
#include "game/SceneCreator.h"
#include "hud/GameTimeText.h"
#include "hud/Hud.h"
#include "input/AutopilotInput.h"
#include "records/BestTimeRecord.h"
#include "render/Camera.h"
#include "render/SceneRenderer.h"

namespace {

SceneCreator& level() {
    return *sceneRenderer->sceneCreator;
}

// What the console and the display say of a player's won game against the best time.
std::string newBestLine(float seconds) {
    return "Your time: " + formatGameTime(seconds) + ", a new best time";
}

std::string notBetterLine(float seconds, float best) {
    return "Your time: " + formatGameTime(seconds) + "; the best time is " + formatGameTime(best);
}

}  // namespace

GameFlow::GameFlow(BestTimeRecord* records, AutopilotInput* autopilot, Hud* hud, bool playersGame)
    : records_(records),
      autopilot_(autopilot),
      hud_(hud),
      playersGame_(playersGame),
      autopilotFlew_(autopilot && autopilot->driving()) {}

bool GameFlow::gameOver() const {
    return level().gameWon || level().gameLost;
}

// Back to what the camera mode wants: captured for the modes that read the mouse, whose next
// reading only seeds so the view does not jump.
void GameFlow::captureCursorForCamera(GLFWwindow* window) {
    Camera& camera = *sceneRenderer->camera;
    if (camera.getMode() == Off) {
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        return;
    }
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    camera.setFirstMouse(true);
}

void GameFlow::togglePause(GLFWwindow* window) {
    if (gameOver()) {
        return;
    }
    SceneCreator& game = level();
    game.paused = !game.paused;
    if (game.paused) {
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        std::cout << "Game paused" << std::endl;
    } else {
        captureCursorForCamera(window);
        std::cout << "Game resumed" << std::endl;
    }
}

void GameFlow::focusLost(GLFWwindow* window) {
    if (!level().paused) {
        togglePause(window);
    }
}

void GameFlow::restart(GLFWwindow* window) {
    sceneRenderer->restart();
    if (gameAudio) {
        gameAudio->restart(level());
    }
    if (autopilot_) {
        autopilot_->restart(autopilotFlyingBy(level(), *sceneRenderer->camera));
    }
    autopilotFlew_ = autopilot_ && autopilot_->driving();
    endDecided_ = false;
    resultLine_.clear();
    newBest_ = false;
    captureCursorForCamera(window);
    showHelp();
    std::cout << "Game restarted" << std::endl;
}

void GameFlow::toggleDisplay() {
    if (hud_) {
        hud_->visible = !hud_->visible;
    }
}

void GameFlow::showHelp() {
    if (hud_) {
        hud_->showHelp();
    }
}

void GameFlow::afterColourPass() {
    SceneCreator& game = level();
    if (autopilot_ && autopilot_->driving()) {
        autopilotFlew_ = true;
    }
    if (endDecided_ || !gameOver()) {
        return;
    }
    endDecided_ = true;
    if (!game.gameWon || game.gameLost) {
        return;
    }
    const float time = game.gameTime;
    if (!playersGame_ || autopilotFlew_) {
        resultLine_ = "Time " + formatGameTime(time) +
                      (playersGame_ ? " (the autopilot's: no record)" : " (a replay: no record)");
        return;
    }
    const BestTimeRecord::Outcome outcome =
        records_ ? records_->offer(time) : BestTimeRecord::Outcome::NotKept;
    if (outcome == BestTimeRecord::Outcome::NewBest) {
        resultLine_ = newBestLine(time);
        newBest_ = true;
    } else if (outcome == BestTimeRecord::Outcome::NotBetter) {
        resultLine_ = notBetterLine(time, *records_->best());
    } else {
        resultLine_ = "Your time: " + formatGameTime(time) + " (the best time is not kept)";
    }
    std::cout << resultLine_ << std::endl;
}

void GameFlow::advance(float deltaTime) {
    if (hud_) {
        hud_->advance(deltaTime);
    }
}

HudState GameFlow::displayState() const {
    HudState state = hudStateOf(level());
    if (records_ && records_->best()) {
        state.bestTime = *records_->best();
    }
    state.resultLine = resultLine_;
    state.newBest = newBest_;
    state.helpVisible = hud_ && hud_->helpShowing();
    return state;
}

void GameFlow::drawDisplay(GLFWwindow* window) {
    if (!hud_ || !hud_->visible) {
        return;
    }
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    hud_->draw(displayState(), width, height);
}
