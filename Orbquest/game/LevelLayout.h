#pragma once

#include "levels/LevelDescription.h"

// The road: the level the game has always had, the first of the set, built from loops over its
// gates, beam, stairs, ducks and targets. `orbquest --export-level FILE` writes it as a file.
levels::LevelDescription roadLevel();
