#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/LevelLayout.h"
#include "hud/HudState.h"
#include "levels/LevelDescription.h"

class AutopilotInput;
class BestTimeRecord;
class Hud;
struct GLFWwindow;

// One level of the set as a list of levels shows it.
struct LevelEntry {
    std::string name;
    std::string title;  // empty when the level cannot be played; 'problem' then says why
    float parTime = 0.0f;
    bool won = false;  // a player has won it: it has a best time
    std::optional<float> bestTime;
    bool current = false;  // the level being played
    std::string problem;
};

// The console line of a level chosen: "Level NAME: TITLE".
std::string levelLine(const levels::LevelDescription& level);

// The game around the level: pausing, restarting, the end of a game with its time against the
// best one, the level being played and the switch to another, and what the on-screen display
// shows. The key and focus callbacks reach it; a menu lists and switches the levels through it.
class GameFlow {
  public:
    // None of the three is owned, and each may be null: no records kept, no autopilot, no
    // display. 'playersGame': live input, not a replay (the autopilot is judged per game).
    // 'level': the one the renderer's level was built from.
    GameFlow(BestTimeRecord* records, AutopilotInput* autopilot, Hud* hud, bool playersGame,
             levels::LevelDescription level = roadLevel());

    // P: pauses or resumes; nothing once the game has ended.
    void togglePause(GLFWwindow* window);
    // The window lost the focus: a game going on pauses; the player resumes with P.
    void focusLost(GLFWwindow* window);
    // R: a new game on the same level, at once, whatever state the game is in.
    void restart(GLFWwindow* window);
    // The levels of the set in order, each with its title, par time and best time.
    std::vector<LevelEntry> levelList() const;
    // A new game on another level: a name of the set or a level file. One that cannot be
    // played is refused with its line, and the game goes on where it was (false).
    bool playLevel(GLFWwindow* window, const std::string& nameOrFile);
    // N: after a win, the next level of the set, if there is one.
    void playNextLevel(GLFWwindow* window);
    const levels::LevelDescription& currentLevel() const { return level_; }
    // The name of the level after the current one in the set; empty for the last or a file's.
    std::string nextLevelName() const;

    // H: the display hidden or shown.
    void toggleDisplay();
    // F1: the key line shown again.
    void showHelp();

    // After each colour pass: in the frame the game ends, the time of a player's win is offered
    // to the records and its line printed, once.
    void afterColourPass();
    // Counts the display's timers down by a frame's time.
    void advance(float deltaTime);
    // Into the framebuffer bound, after the colour pass.
    void drawDisplay(GLFWwindow* window);

    HudState displayState() const;
    const std::string& resultLine() const { return resultLine_; }

  private:
    bool gameOver() const;
    void captureCursorForCamera(GLFWwindow* window);
    void startNewGame(GLFWwindow* window);

    BestTimeRecord* records_;
    AutopilotInput* autopilot_;
    Hud* hud_;
    bool playersGame_;
    bool autopilotFlew_;  // in this game: then its win is no record
    bool endDecided_ = false;
    std::string resultLine_;
    bool newBest_ = false;
    levels::LevelDescription level_;
};
