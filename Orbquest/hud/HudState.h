#pragma once

#include <optional>
#include <string>
#include <vector>

class SceneCreator;

// What the on-screen display shows in one frame: plain data, filled by the application from
// the level, the records and the display's own help timer.
struct HudState {
    int targetsDone = 0;
    int targetsTotal = 0;
    float gameTime = 0.0f;          // seconds
    std::optional<float> bestTime;  // seconds; none yet
    bool paused = false;
    std::vector<std::string> endLines;  // the game's own end lines; none while it goes on
    std::string resultLine;             // under them: the time, and whether it is a new best
    bool newBest = false;               // the result line tells of a new best time
    bool nextLevel = false;             // after a win, N goes on to another level
    bool helpVisible = false;           // the key line at the bottom
};

// The level's part: targets, game time, pause and end lines.
HudState hudStateOf(const SceneCreator& level);
