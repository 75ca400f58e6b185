#include "input/ReplayFile.h"

#include <filesystem>
#include <fstream>
#include <vector>

ReplayScript loadReplay(const std::string& path) {
    ReplayScript refused;
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        refused.error = "it is a directory, not a file";
        return refused;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        refused.error = "the file cannot be read";
        return refused;
    }
    // One byte past the limit tells a file at the limit from a longer one.
    std::vector<char> buffer(kMaxReplayBytes + 1);
    file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (file.bad()) {
        refused.error = "the file cannot be read";
        return refused;
    }
    const size_t length = static_cast<size_t>(file.gcount());
    if (length > kMaxReplayBytes) {
        refused.error = "the file is larger than the limit of " +
                        std::to_string(kMaxReplayBytes / (1024 * 1024)) + " MiB";
        return refused;
    }
    return parseReplay(std::string(buffer.data(), length));
}
