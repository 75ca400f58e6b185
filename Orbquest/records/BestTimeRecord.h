#pragma once

#include <optional>
#include <string>

// The best time of a player's wins, kept in the records file between runs. A file that cannot
// be read or parsed is left as it is for the rest of the run, never overwritten, with one
// console line saying why; the game plays on without a best time.
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
    // Offers the game time of a player's win. Reads the file again first, so a better time
    // another game stored meanwhile is kept.
    Outcome offer(float seconds);

    const std::string& path() const { return path_; }
    bool usable() const { return usable_; }
    const std::optional<float>& best() const { return best_; }

  private:
    void refuse(const std::string& why);

    std::string path_;
    bool usable_ = true;
    std::optional<float> best_;
};

// "$XDG_DATA_HOME/orbquest/records.ini" (~/.local/share/orbquest/ when the variable is unset,
// empty or relative); empty when neither it nor HOME names a folder.
std::string recordsFilePath();
