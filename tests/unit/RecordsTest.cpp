#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/XdgFolder.h"
#include "records/BestTimeRecord.h"
#include "records/RecordsText.h"
#include "support/TempDir.h"

namespace {

TEST(RecordsText, ReadsWhatItWritesBitForBit) {
    for (float seconds : {162.375f, 0.1f, 1.0f / 3.0f, 86400.5f}) {
        const BestTimes times = {{"road", seconds}, {"gaps", seconds / 7.0f}};
        const RecordsText back = parseRecords(formatRecords(times));
        EXPECT_EQ(back.error, "") << seconds;
        EXPECT_EQ(back.bestTimes, times);
    }
    const RecordsText tolerant = parseRecords("; a note\r\n  best_time=12.5  ; inline\r\n");
    EXPECT_EQ(tolerant.error, "");
    EXPECT_EQ(tolerant.bestTimes, (BestTimes{{"road", 12.5f}}));
}

TEST(RecordsText, AnythingElseIsRefusedWithTheLineAndWhy) {
    const std::string tooLong = "best_time = 1" + std::string(kMaxRecordsLineLength, '0') + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "no best_time"},
        {"# only a comment\n", "no best_time"},
        {"best_time = 12\n[road]\nbest_time = 11\n", "line 3: best_time of road given twice"},
        {"best = 12\n", "line 1: unknown key \"best\""},
        {"[Big Level]\nbest_time = 12\n",
         "line 2: a section [Big Level], which is no level's name"},
        {"best_time = fast\n", "line 1: best_time is \"fast\", not a positive number of seconds"},
        {"best_time = -3\n", "line 1: best_time is \"-3\", not a positive number of seconds"},
        {"best_time = 0\n", "line 1: best_time is \"0\", not a positive number of seconds"},
        {"best_time = nan\n", "line 1: best_time is \"nan\", not a positive number of seconds"},
        {"best_time = 1e39\n", "line 1: best_time is \"1e39\", not a positive number of seconds"},
        {"best_time = 12 s\n", "line 1: best_time is \"12 s\", not a positive number of seconds"},
        {"\nthis is no pair\nbest_time = x\n", "line 2: not \"key = value\""},
        {std::string("best_time = 12\n\0best_time = 1\n", 30), "it holds a NUL byte"},
        {"# \n" + tooLong, "line 2: longer than 190 characters"},
        {std::string(kMaxRecordsBytes + 1, '#'), "larger than 16384 bytes"},
    };
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(parseRecords(text).error, error) << text.substr(0, 60);
    }
}

TEST(XdgFolder, AbsoluteValueElseDefaultBelowHome) {
    const struct {
        const char* value;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/data", "/home/ann", "/data"},
        {nullptr, "/home/ann", "/home/ann/.local/share"},
        {"", "/home/ann/", "/home/ann/.local/share"},
        {"relative/data", "/home/ann", "/home/ann/.local/share"},
        {nullptr, nullptr, ""},
        {"", "not/absolute", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(xdgFolder(c.value, c.home, ".local/share"), c.folder)
            << (c.value ? c.value : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

// Captures the console lines a block prints.
class ConsoleCapture {
  public:
    ConsoleCapture() : previous_(std::cout.rdbuf(lines_.rdbuf())) {}
    ~ConsoleCapture() { std::cout.rdbuf(previous_); }
    std::string text() const { return lines_.str(); }

  private:
    std::ostringstream lines_;
    std::streambuf* previous_;
};

size_t filesIn(const std::string& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

class BestTimeFile : public testing::Test {
  protected:
    std::string folder() const { return dir.file("orbquest"); }
    std::string path() const { return dir.file("orbquest/records.ini"); }
    TempDir dir;
};

TEST_F(BestTimeFile, TheFirstWinIsStoredInANewFolder) {
    BestTimeRecord record(path());
    record.load();
    EXPECT_FALSE(record.best("road"));
    EXPECT_EQ(record.offer("road", 170.5f), BestTimeRecord::Outcome::NewBest);
    EXPECT_EQ(parseRecords(readFile(path())).bestTimes, (BestTimes{{"road", 170.5f}}));
    EXPECT_EQ(filesIn(folder()), 2u) << "the file and its lock file; no temporary left behind";
}

// A hard link keeps the old file's own data: rewriting it in place would change what the link
// shows, a rename over it does not.
TEST_F(BestTimeFile, ANewBestReplacesTheFileByRenameAndASlowerTimeLeavesIt) {
    dir.write("orbquest/records.ini", formatRecords({{"road", 170.5f}}));
    ASSERT_EQ(::link(path().c_str(), dir.file("old-records").c_str()), 0);
    BestTimeRecord record(path());
    record.load();
    EXPECT_EQ(record.offer("road", 171.0f), BestTimeRecord::Outcome::NotBetter);
    EXPECT_EQ(record.offer("road", 170.5f), BestTimeRecord::Outcome::NotBetter) << "a tie";
    EXPECT_EQ(std::filesystem::hard_link_count(path()), 2u) << "nothing was written";

    EXPECT_EQ(record.offer("road", 162.375f), BestTimeRecord::Outcome::NewBest);
    EXPECT_EQ(parseRecords(readFile(path())).bestTimes.at("road"), 162.375f);
    EXPECT_EQ(parseRecords(readFile(dir.file("old-records"))).bestTimes.at("road"), 170.5f);
    EXPECT_EQ(*record.best("road"), 162.375f);
    EXPECT_EQ(filesIn(folder()), 2u);
}

TEST_F(BestTimeFile, AFileItCannotParseIsLeftAsItWasWithOneLine) {
    const std::string broken = "best_time = soon\n";
    dir.write("orbquest/records.ini", broken);
    BestTimeRecord record(path());
    ConsoleCapture console;
    record.load();
    EXPECT_FALSE(record.usable());
    EXPECT_EQ(record.offer("road", 1.0f), BestTimeRecord::Outcome::NotKept);
    EXPECT_EQ(record.offer("gaps", 0.5f), BestTimeRecord::Outcome::NotKept);
    EXPECT_EQ(readFile(path()), broken);
    EXPECT_EQ(console.text(), "Best time not kept: the records file " + path() +
                                  " cannot be parsed (line 1: best_time is \"soon\", not a "
                                  "positive number of seconds); it is left as it is\n");
}

TEST_F(BestTimeFile, AFileItCannotReadIsLeftAlone) {
    std::filesystem::create_directories(path());  // a folder where the file should be
    BestTimeRecord record(path());
    ConsoleCapture console;
    record.load();
    EXPECT_EQ(record.offer("road", 1.0f), BestTimeRecord::Outcome::NotKept);
    EXPECT_TRUE(std::filesystem::is_directory(path()));
    EXPECT_EQ(console.text(), "Best time not kept: the records file " + path() +
                                  " cannot be read (it is a folder); it is left as it is\n");
}

// Another game stored a better time since this one started: it stays.
TEST_F(BestTimeFile, ABetterTimeStoredMeanwhileIsKept) {
    BestTimeRecord record(path());
    record.load();
    dir.write("orbquest/records.ini", formatRecords({{"road", 100.0f}}));
    EXPECT_EQ(record.offer("road", 120.0f), BestTimeRecord::Outcome::NotBetter);
    EXPECT_EQ(parseRecords(readFile(path())).bestTimes.at("road"), 100.0f);
}

// A player's records file from before the other levels: the road's time stays the road's, and
// a win on another level joins it.
TEST_F(BestTimeFile, AnOldFileIsTheRoadsAndAnotherLevelsWinJoinsIt) {
    dir.write("orbquest/records.ini", "best_time = 162.375\n");
    BestTimeRecord record(path());
    record.load();
    EXPECT_EQ(*record.best("road"), 162.375f);
    EXPECT_FALSE(record.best("gaps"));
    EXPECT_EQ(record.offer("gaps", 31.5f), BestTimeRecord::Outcome::NewBest);
    EXPECT_EQ(record.offer("road", 170.0f), BestTimeRecord::Outcome::NotBetter);
    EXPECT_EQ(parseRecords(readFile(path())).bestTimes,
              (BestTimes{{"road", 162.375f}, {"gaps", 31.5f}}));
}

// Games that end at once take turns at the file: whatever their order, the best of all the
// times offered stays.
TEST_F(BestTimeFile, GamesOfferingTimesAtOnceKeepTheBest) {
    constexpr int kGames = 4;
    constexpr int kOffers = 50;
    std::filesystem::create_directories(folder());
    std::vector<pid_t> games;
    for (int game = 0; game < kGames; ++game) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ConsoleCapture quiet;
            BestTimeRecord record(path());
            for (int offer = 0; offer < kOffers; ++offer) {
                // Each game betters its own time; the games' times interleave.
                record.offer("road", 1000.0f - static_cast<float>(offer * kGames + game));
            }
            ::_exit(0);
        }
        games.push_back(pid);
    }
    for (const pid_t pid : games) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(parseRecords(readFile(path())).bestTimes.at("road"),
              1000.0f - static_cast<float>(kOffers * kGames - 1));
    EXPECT_EQ(filesIn(folder()), 2u);
}

}  // namespace
