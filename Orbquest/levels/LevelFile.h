#pragma once

#include <cstddef>
#include <string>

#include "levels/LevelDescription.h"

// Level files are TOML (see the README's Levels section for the format and an example). A file
// is read whole and checked against the limits below; anything it holds that the game cannot use
// refuses the whole file with one line naming the file, the line or key, and what is accepted.
namespace levels {

constexpr std::size_t kMaxLevelFileBytes = 256 * 1024;
constexpr std::size_t kMaxLevelLineLength = 1024;  // characters, the line end not counted
constexpr std::size_t kMaxNameLength = 32;         // of a to z, 0 to 9 and '-'
constexpr std::size_t kMaxTitleLength = 48;        // printable ASCII characters
constexpr float kMinParTime = 1.0f;                // seconds
constexpr float kMaxParTime = 3600.0f;
constexpr float kMaxCoordinate = 1000.0f;  // every position and rectangle edge, either way
constexpr float kMinSize = 0.01f;          // a slab's or backdrop's scale on each axis
constexpr float kMaxSize = 100.0f;
constexpr std::size_t kMaxFloorSlabs = 100;
constexpr std::size_t kMaxGroundRectangles = 100;
constexpr std::size_t kMaxBlocks = 1000;
constexpr std::size_t kMaxTargets = 500;
constexpr std::size_t kMaxDucks = 100;
constexpr std::size_t kMaxBackdrops = 4;

struct LevelRead {
    LevelDescription level;  // complete when error is empty
    std::string error;       // the console line refusing the file
};

// Pure over the text; 'path' only names the file in the refusal.
LevelRead parseLevel(const std::string& text, const std::string& path);
// Reads at most one byte past the size limit, so an endless file is refused too.
LevelRead loadLevelFile(const std::string& path);
// The level as a file: parseLevel reads back the very same description, float for float.
std::string formatLevel(const LevelDescription& level);

// 1 to kMaxNameLength characters of a to z, 0 to 9 and '-'.
bool isLevelName(const std::string& name);

}  // namespace levels
