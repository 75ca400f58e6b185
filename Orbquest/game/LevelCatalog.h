#pragma once

#include <string>

#include "levels/LevelFile.h"

// A level as the player names it: a level of the set by its name (the road built by the game,
// the others read from their files), or else a level file by its path. A file that takes the
// name of a level of the set must be that very level, so the set's best times stay its own.
levels::LevelRead findLevel(const std::string& nameOrFile);
