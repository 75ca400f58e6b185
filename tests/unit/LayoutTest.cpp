#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kCode = fs::path(ORBQUEST_SOURCE_DIR) / "Orbquest";

// Who may include whom, room by room (the folders under Orbquest/), as the README's Layout
// section draws it: a room uses only rooms below it.
const std::map<std::string, std::set<std::string>> kMayUse = {
    {"base", {}},
    {"settings", {"base"}},
    {"input", {"base", "settings"}},
    {"render", {"base", "input", "settings"}},
    {"scene", {"base", "render"}},
    {"levels", {"base"}},
    {"game", {"base", "input", "render", "scene", "levels"}},
    {"records", {"base", "levels"}},
    {"hud", {"base", "render", "game"}},
    {"audio", {"base", "settings", "render", "scene", "game"}},
    {"app",
     {"base", "settings", "input", "render", "scene", "levels", "game", "records", "hud", "audio"}},
};

// The scene renderer owns the level as it owns the camera: the one file of render/ above game/.
const std::map<std::string, std::set<std::string>> kAlsoMayUse = {
    {"render/SceneRenderer.cpp", {"game"}},
};

bool isCode(const fs::path& file) {
    return file.extension() == ".h" || file.extension() == ".cpp";
}

TEST(Layout, EveryRoomIncludesOnlyTheRoomsItMayUse) {
    const std::regex include("^\\s*#\\s*include\\s*\"([A-Za-z0-9_]+)/");
    int filesRead = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kCode)) {
        if (!entry.is_regular_file() || !isCode(entry.path())) {
            continue;
        }
        const std::string relative = fs::relative(entry.path(), kCode).generic_string();
        const std::string room = relative.substr(0, relative.find('/'));
        const auto allowed = kMayUse.find(room);
        ASSERT_NE(allowed, kMayUse.end())
            << relative << ": a new room says here and in the README whom it may use";
        std::set<std::string> mayUse = allowed->second;
        if (const auto extra = kAlsoMayUse.find(relative); extra != kAlsoMayUse.end()) {
            mayUse.insert(extra->second.begin(), extra->second.end());
        }
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            std::smatch match;
            if (std::regex_search(line, match, include) && match[1] != room &&
                kMayUse.count(match[1]) && !mayUse.count(match[1])) {
                ADD_FAILURE() << relative << ":" << number << ": " << room << "/ may not use "
                              << match[1] << "/";
            }
        }
        ++filesRead;
    }
    EXPECT_GT(filesRead, 50);
}

}  // namespace
