#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/GameSettings.h"

// The settings file is ini text, every key in one [orbquest] section, e.g.
//
//   [orbquest]
//   width = 1280
//   mouse_sensitivity = 0.5
//
// A key it does not know or a value it cannot take gets a line and keeps its default; the rest
// of the file still counts. A file that is not text at all counts for nothing.

constexpr std::size_t kMaxSettingsBytes = 16 * 1024;
// Characters, the line end not counted; within inih's line buffer.
constexpr std::size_t kMaxSettingsLineLength = 190;

struct SettingsRead {
    GameSettings settings;
    std::vector<std::string> problems;  // console lines, one per refused line or file
};

// Pure over the text, so it can be tested (and fuzzed) without a file; 'path' only names the
// file in the problems.
SettingsRead parseSettings(const std::string& text, const std::string& path);
// A missing file gives the defaults without a word.
SettingsRead loadSettings(const std::string& path);
// The whole file for these settings; parseSettings reads the same values back.
std::string formatSettings(const GameSettings& settings);
// Writes the file through a temporary and a rename, making its folder if need be.
bool saveSettings(const std::string& path, const GameSettings& settings, std::string& error);

// $XDG_CONFIG_HOME/orbquest (or ~/.config/orbquest); empty when neither names a folder.
std::string configFolder();
std::string settingsFilePath();
