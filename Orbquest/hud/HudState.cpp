#include "hud/HudState.h"

#include <algorithm>

#include "game/GameRules.h"
#include "game/SceneCreator.h"

HudState hudStateOf(const SceneCreator& level) {
    HudState state;
    state.targetsDone =
        static_cast<int>(std::count(level.targetDone.begin(), level.targetDone.end(), true));
    state.targetsTotal = static_cast<int>(level.targetDone.size());
    state.gameTime = level.gameTime;
    state.paused = level.paused;
    // Both when both rules hit in one frame, in the order the console prints them.
    if (level.gameWon) {
        state.endLines.push_back(rules::kWonLine);
    }
    if (level.gameLost) {
        state.endLines.push_back(rules::kLostLine);
    }
    return state;
}
