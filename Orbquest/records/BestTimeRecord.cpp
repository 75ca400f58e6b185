#include "records/BestTimeRecord.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <utility>

#include "base/AtomicFile.h"
#include "base/FileLock.h"
#include "base/TextLines.h"
#include "base/XdgFolder.h"
#include "records/RecordsText.h"

namespace {

const char* const kRecordsFileName = "records.ini";

}  // namespace

BestTimeRecord::BestTimeRecord(std::string path) : path_(std::move(path)) {}

void BestTimeRecord::refuse(const std::string& why) {
    usable_ = false;
    bestTimes_.clear();
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
    switch (readTextFile(path_, kMaxRecordsBytes, text, error)) {
        case TextFileRead::Missing:
            bestTimes_.clear();
            return;
        case TextFileRead::Failed:
            refuse("cannot be read (" + error + ")");
            return;
        case TextFileRead::Read:
            break;
    }
    const RecordsText records = parseRecords(text);
    if (!records.error.empty()) {
        refuse("cannot be parsed (" + records.error + ")");
        return;
    }
    bestTimes_ = records.bestTimes;
}

std::optional<float> BestTimeRecord::best(const std::string& level) const {
    const auto found = bestTimes_.find(level);
    return found == bestTimes_.end() ? std::nullopt : std::optional<float>(found->second);
}

// Read, compared and replaced under the lock, so two games ending at once keep the better
// time: the second reads what the first stored.
BestTimeRecord::Outcome BestTimeRecord::offer(const std::string& level, float seconds) {
    if (!usable_ || path_.empty()) {
        load();  // says why, once
        return Outcome::NotKept;
    }
    std::error_code folderError;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    std::filesystem::create_directories(folder, folderError);
    std::string error;
    FileLock lock;
    if (folderError) {
        error = "Cannot create the folder " + folder.string() + ": " + folderError.message();
    } else if (lock.lock(path_, error)) {
        load();
        if (!usable_) {
            return Outcome::NotKept;
        }
        const std::optional<float> best = this->best(level);
        if (best && !(seconds < *best)) {
            return Outcome::NotBetter;
        }
        BestTimes bestTimes = bestTimes_;
        bestTimes[level] = seconds;
        const std::string text = formatRecords(bestTimes);
        if (text.size() > kMaxRecordsBytes) {
            error = "the records file would grow past " + std::to_string(kMaxRecordsBytes) +
                    " bytes, more than the game reads";
        } else if (replaceFileAtomically(path_, text, error)) {
            bestTimes_ = std::move(bestTimes);
            return Outcome::NewBest;
        }
    }
    std::cout << "Best time not stored: " << error << std::endl;
    return Outcome::NotKept;
}

std::string recordsFilePath() {
    const std::string dataHome =
        xdgFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), ".local/share");
    return dataHome.empty() ? "" : dataHome + "/orbquest/" + kRecordsFileName;
}
