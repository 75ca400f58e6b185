#pragma once

#include <optional>
#include <string>

#include "records/RecordsText.h"

// The best time of a player's wins on each level, kept in the records file between runs. A file
// that cannot be read or parsed is left as it is for the rest of the run, never overwritten,
// with one console line saying why; the game plays on without best times.
class BestTimeRecord {
  public:
    // 'path' is the records file; empty when there is nowhere to keep one.
    explicit BestTimeRecord(std::string path);

    // Reads the file; a missing one means no best time yet.
    void load();

    enum class Outcome {
        NewBest,    // stored: it beat the best time, or there was none
        NotBetter,  // as fast as the best time or slower; nothing written
        NotKept,    // the file is unusable or the write failed (a line said why)
    };
    // Offers the game time of a player's win on 'level'. Reads the file again first, so a
    // better time another game stored meanwhile is kept, as are the other levels' times.
    Outcome offer(const std::string& level, float seconds);

    const std::string& path() const { return path_; }
    bool usable() const { return usable_; }
    std::optional<float> best(const std::string& level) const;

  private:
    void refuse(const std::string& why);

    std::string path_;
    bool usable_ = true;
    BestTimes bestTimes_;
};

// "$XDG_DATA_HOME/orbquest/records.ini" (~/.local/share/orbquest/ when the variable is unset,
// empty or relative); empty when neither it nor HOME names a folder.
std::string recordsFilePath();
