#include "game/LevelCatalog.h"

#include "base/ConsoleText.h"
#include "game/LevelLayout.h"
#include "levels/LevelSet.h"

namespace {

levels::LevelRead setLevel(const std::string& name) {
    if (name == levels::kRoadName) {
        return {roadLevel(), ""};
    }
    return levels::loadLevelFile(levels::levelSetFile(name));
}

}  // namespace

levels::LevelRead findLevel(const std::string& nameOrFile) {
    if (levels::levelSetIndex(nameOrFile) >= 0) {
        return setLevel(nameOrFile);
    }
    levels::LevelRead read = levels::loadLevelFile(nameOrFile);
    if (read.error.empty() && levels::levelSetIndex(read.level.name) >= 0 &&
        setLevel(read.level.name).level != read.level) {
        read.error = "Level file " + printable(nameOrFile, 80) + ": its name \"" + read.level.name +
                     "\" is that of a level of the set, which it is not; " +
                     "give it a name of its own";
        read.level = levels::LevelDescription();
    }
    return read;
}
