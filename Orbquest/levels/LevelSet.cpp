#include "levels/LevelSet.h"

#include <algorithm>

#include "base/AssetPaths.h"

namespace levels {

const char* const kRoadName = "road";

const std::vector<std::string>& levelSet() {
    static const std::vector<std::string> set = {
        kRoadName,
        "roll",    // rolling and turning: half-buried targets, rolled over
        "lift",    // lifting the ball and coming down onto a target
        "gates",   // steering through gates
        "blocks",  // resting on blocks and hopping from one to the next
        "stairs",  // climbing stairs
        "gaps",    // a floor with gaps to hop over
    };
    return set;
}

int levelSetIndex(const std::string& name) {
    const std::vector<std::string>& set = levelSet();
    const auto found = std::find(set.begin(), set.end(), name);
    return found == set.end() ? -1 : static_cast<int>(found - set.begin());
}

std::string levelSetFile(const std::string& name) {
    return assets::level(name + ".toml");
}

}  // namespace levels
