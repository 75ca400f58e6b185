#pragma once

#include <string>
#include <vector>

// The game's own levels, in the order they are played: the road first (the level played when
// none is chosen, which the game builds itself), then short ones, easiest first, each teaching
// one thing. Each of the others is a level file of the same name below the assets.
namespace levels {

extern const char* const kRoadName;

const std::vector<std::string>& levelSet();
// Its place in the set; -1 for a name the set does not hold.
int levelSetIndex(const std::string& name);
// The file of a level of the set other than the road.
std::string levelSetFile(const std::string& name);

}  // namespace levels
