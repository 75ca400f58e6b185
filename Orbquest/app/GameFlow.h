#pragma once

#include <string>

#include "hud/HudState.h"

class AutopilotInput;
class BestTimeRecord;
class Hud;
struct GLFWwindow;

// The game around the level: pausing, restarting, the end of a game with its time against the
// best one, and what the on-screen display shows. The key and focus callbacks reach it.
class GameFlow {
  public:
    // None of the three is owned, and each may be null: no records kept, no autopilot, no
    // display. 'playersGame': live input, not a replay (the autopilot is judged per game).
    GameFlow(BestTimeRecord* records, AutopilotInput* autopilot, Hud* hud, bool playersGame);

    // P: pauses or resumes; nothing once the game has ended.
    void togglePause(GLFWwindow* window);
    // The window lost the focus: a game going on pauses; the player resumes with P.
    void focusLost(GLFWwindow* window);
    // R: a new game on the same level, at once, whatever state the game is in.
    void restart(GLFWwindow* window);
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

    BestTimeRecord* records_;
    AutopilotInput* autopilot_;
    Hud* hud_;
    bool playersGame_;
    bool autopilotFlew_;  // in this game: then its win is no record
    bool endDecided_ = false;
    std::string resultLine_;
    bool newBest_ = false;
};
