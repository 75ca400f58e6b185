#include "app/GameFlow.h"

#include <GLFW/glfw3.h>

#include <iostream>

#include "app/Callbacks.h"
#include "app/Settings.h"
#include "audio/GameAudio.h"
#include "game/Autopilot.h"
#include "game/LevelCatalog.h"
#include "game/SceneCreator.h"
#include "hud/GameTimeText.h"
#include "hud/Hud.h"
#include "input/AutopilotInput.h"
#include "records/BestTimeRecord.h"
#include "render/Camera.h"
#include "levels/LevelSet.h"
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

std::string levelLine(const levels::LevelDescription& level) {
    return "Level " + level.name + ": " + level.title;
}

GameFlow::GameFlow(BestTimeRecord* records, AutopilotInput* autopilot, Hud* hud, bool playersGame,
                   levels::LevelDescription level)
    : records_(records),
      autopilot_(autopilot),
      hud_(hud),
      playersGame_(playersGame),
      autopilotFlew_(autopilot && autopilot->driving()),
      level_(std::move(level)) {}

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
    startNewGame(window);
    std::cout << "Game restarted" << std::endl;
}

bool GameFlow::playLevel(GLFWwindow* window, const std::string& nameOrFile) {
    levels::LevelRead read = findLevel(nameOrFile);
    if (!read.error.empty()) {
        std::cout << read.error << std::endl;
        return false;
    }
    level_ = std::move(read.level);
    sceneRenderer->switchLevel(deltaTime, level_);
    applyTextureFilters();
    startNewGame(window);
    std::cout << levelLine(level_) << std::endl;
    return true;
}

std::string GameFlow::nextLevelName() const {
    const int index = levels::levelSetIndex(level_.name);
    const std::vector<std::string>& set = levels::levelSet();
    if (index < 0 || index + 1 >= static_cast<int>(set.size())) {
        return "";
    }
    return set[static_cast<size_t>(index) + 1];
}

void GameFlow::playNextLevel(GLFWwindow* window) {
    const std::string next = nextLevelName();
    if (level().gameWon && !level().gameLost && !next.empty()) {
        playLevel(window, next);
    }
}

std::vector<LevelEntry> GameFlow::levelList() const {
    std::vector<LevelEntry> list;
    for (const std::string& name : levels::levelSet()) {
        LevelEntry entry;
        entry.name = name;
        const levels::LevelRead read = findLevel(name);
        entry.title = read.level.title;
        entry.parTime = read.level.parTime;
        entry.problem = read.error;
        entry.current = name == level_.name;
        entry.bestTime = records_ ? records_->best(name) : std::nullopt;
        entry.won = entry.bestTime.has_value();
        list.push_back(entry);
    }
    return list;
}

// What a new game starts from besides the level and the camera, on R and on another level.
void GameFlow::startNewGame(GLFWwindow* window) {
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
        records_ ? records_->offer(level_.name, time) : BestTimeRecord::Outcome::NotKept;
    if (outcome == BestTimeRecord::Outcome::NewBest) {
        resultLine_ = newBestLine(time);
        newBest_ = true;
    } else if (outcome == BestTimeRecord::Outcome::NotBetter) {
        resultLine_ = notBetterLine(time, *records_->best(level_.name));
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
    if (records_) {
        state.bestTime = records_->best(level_.name);
    }
    state.resultLine = resultLine_;
    state.newBest = newBest_;
    state.nextLevel = level().gameWon && !level().gameLost && !nextLevelName().empty();
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
