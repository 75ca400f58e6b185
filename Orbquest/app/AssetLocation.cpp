#include "app/AssetLocation.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/AssetPaths.h"

namespace fs = std::filesystem;

// The build passes the installed layout in, so the install rules and this search agree.
const char* const kInstalledAssetFolder = ORBQUEST_INSTALLED_ASSETS;

namespace {

bool holdsAssets(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / assets::kRoot, error);
}

}  // namespace

AssetSearch findAssets(const std::string& workingDirectory, const std::string& executableFolder) {
    AssetSearch search;
    auto tryFolder = [&search](const fs::path& folder) {
        const std::string name = folder.lexically_normal().string();
        if (std::find(search.searched.begin(), search.searched.end(), name) !=
            search.searched.end()) {
            return false;  // the working directory can be one of the executable's folders
        }
        search.searched.push_back(name);
        if (holdsAssets(name)) {
            search.found = search.searched.back();
            return true;
        }
        return false;
    };
    if (tryFolder(workingDirectory) || executableFolder.empty()) {
        return search;
    }
    fs::path start = fs::path(executableFolder).lexically_normal();
    if (!start.has_filename() && start.has_relative_path()) {
        start = start.parent_path();  // "/opt/game/" names the same folder as "/opt/game"
    }
    for (fs::path folder = start;; folder = folder.parent_path()) {
        if (tryFolder(folder)) {
            return search;
        }
        if (folder == folder.parent_path()) {  // the root
            break;
        }
    }
    tryFolder(start / kInstalledAssetFolder);
    return search;
}

std::string assetSearchFailure(const AssetSearch& search) {
    std::string text =
        std::string("Cannot find the game's assets: none of these folders holds ") + assets::kRoot;
    for (const std::string& folder : search.searched) {
        text += "\n  " + folder;
    }
    return text;
}

std::string executableFolder(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error && self.is_absolute()) {
        return self.parent_path().string();
    }
    // A bare name was found through PATH, which says nothing about the folder.
    if (argv0 == nullptr || std::string(argv0).find('/') == std::string::npos) {
        return "";
    }
    const fs::path absolute = fs::absolute(argv0, error);
    return error ? "" : absolute.lexically_normal().parent_path().string();
}

std::string resolveAgainst(const std::string& base, const std::string& path) {
    if (path.empty() || fs::path(path).is_absolute()) {
        return path;
    }
    return (fs::path(base) / path).string();
}
