#pragma once

#include <string>
#include <vector>

// The game opens its assets by paths relative to the working directory ("Orbquest/Scene/...").
// When it is started somewhere else, it looks for the folder that holds them and moves there.

// A folder holds the assets when assets::kRoot is below it.
// Where an installed game keeps them, relative to the folder of its executable.
extern const char* const kInstalledAssetFolder;

struct AssetSearch {
    std::string found;                  // the first folder holding the assets; empty if none
    std::vector<std::string> searched;  // every folder looked at, in order
};

// Tries the working directory, then the executable's folder and each folder above it (a build
// tree inside the repository), then the installed location beside the executable's folder.
// Stops at the first that holds the assets. Both arguments are absolute.
AssetSearch findAssets(const std::string& workingDirectory, const std::string& executableFolder);

// The console text for a search that found nothing: where it looked, one folder a line.
std::string assetSearchFailure(const AssetSearch& search);

// The folder of the running executable (symbolic links resolved); argv[0] is the fallback where
// the kernel does not say. Empty if neither tells.
std::string executableFolder(const char* argv0);

// 'path' as seen from 'base': unchanged when empty or absolute.
std::string resolveAgainst(const std::string& base, const std::string& path);
