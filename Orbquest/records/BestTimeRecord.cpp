#include "records/BestTimeRecord.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>

#include "base/AtomicFile.h"
#include "base/XdgFolder.h"
#include "records/RecordsText.h"

namespace {

const char* const kRecordsFileName = "records.ini";

enum class FileRead { Read, Missing, Failed };

// Reads at most one byte past the limit, so an endless file (/dev/zero) is refused too.
FileRead readRecordsFile(const std::string& path, std::string& text, std::string& error) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        return FileRead::Missing;
    }
    if (std::filesystem::is_directory(path, ignored)) {
        error = "it is a folder";
        return FileRead::Failed;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return FileRead::Failed;
    }
    std::string content(kMaxRecordsBytes + 1, '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (file.bad()) {
        error = std::strerror(errno);
        return FileRead::Failed;
    }
    content.resize(static_cast<size_t>(file.gcount()));
    text = std::move(content);
    return FileRead::Read;
}

}  // namespace

BestTimeRecord::BestTimeRecord(std::string path) : path_(std::move(path)) {}

void BestTimeRecord::refuse(const std::string& why) {
    usable_ = false;
    best_.reset();
    std::cout << "Best time not kept: the records file " << path_ << " " << why
              << "; it is left as it is" << std::endl;
}

void BestTimeRecord::load() {
    if (!usable_) {
        return;
    }
    if (path_.empty()) {
        usable_ = false;
        std::cout << "Best time not kept: neither XDG_DATA_HOME nor HOME names a folder"
                  << std::endl;
        return;
    }
    std::string text;
    std::string error;
    switch (readRecordsFile(path_, text, error)) {
        case FileRead::Missing:
            best_.reset();
            return;
        case FileRead::Failed:
            refuse("cannot be read (" + error + ")");
            return;
        case FileRead::Read:
            break;
    }
    const RecordsText records = parseRecords(text);
    if (!records.error.empty()) {
        refuse("cannot be parsed (" + records.error + ")");
        return;
    }
    best_ = records.bestTime;
}

BestTimeRecord::Outcome BestTimeRecord::offer(float seconds) {
    load();
    if (!usable_) {
        return Outcome::NotKept;
    }
    if (best_ && !(seconds < *best_)) {
        return Outcome::NotBetter;
    }
    std::error_code folderError;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    std::filesystem::create_directories(folder, folderError);
    std::string error;
    if (folderError) {
        error = "Cannot create the folder " + folder.string() + ": " + folderError.message();
    } else if (replaceFileAtomically(path_, formatRecords(seconds), error)) {
        best_ = seconds;
        return Outcome::NewBest;
    }
    std::cout << "Best time not stored: " << error << std::endl;
    return Outcome::NotKept;
}

std::string recordsFilePath() {
    const std::string dataHome =
        xdgFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), ".local/share");
    return dataHome.empty() ? "" : dataHome + "/orbquest/" + kRecordsFileName;
}
