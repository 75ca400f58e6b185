#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "input/ReplayFile.h"
#include "levels/LevelSet.h"
#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// Test names of the form "gaps_win" for "gaps-win".
std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

std::vector<std::string> committedReplays() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ORBQUEST_SOURCE_DIR "/replays")) {
        if (entry.path().extension() == ".replay") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> withScreenshot(std::vector<std::string> args, const std::string& png) {
    args.insert(args.end(), {"--screenshot", png});
    return args;
}

class NewLevel : public testing::TestWithParam<std::string> {};

TEST_P(NewLevel, ItsWinReplayWinsWhenFastForwarded) {
    const std::string& name = GetParam();
    const ProcessResult run = runGame({"160", "120", "--level", name, "--fast-forward", "--replay",
                                       "replays/levels/" + name + "-win.replay"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "\nLevel " + name + ": "), 1u) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Congratulations, you won the game!\n"), 1u);
}

// Every level of the set after the road, which comes first.
INSTANTIATE_TEST_SUITE_P(Set, NewLevel,
                         testing::ValuesIn(levels::levelSet().begin() + 1,
                                           levels::levelSet().end()),
                         testName);

// The road written as a level file is the road: each committed replay prints and draws the
// same on it, to the last pixel of its last frame.
class ExportedRoad : public testing::TestWithParam<std::string> {};

TEST_P(ExportedRoad, PlaysTheCommittedReplayTheSame) {
    TempDir dir;
    const ProcessResult exported = runGame({"--export-level", dir.file("road.toml")});
    EXPECT_EQ(exported.output, "Level road written to " + dir.file("road.toml") + "\n");
    const std::string replay = "replays/" + GetParam() + ".replay";
    long frames = 0;
    for (const ReplayFrame& line : loadReplay(replay).frames) {
        frames += line.repeat;
    }
    const std::vector<std::string> play = {"160",  "120",      "--fast-forward",      "--replay",
                                           replay, "--frames", std::to_string(frames)};
    std::vector<std::string> fromFile = play;
    fromFile.insert(fromFile.end(), {"--level", dir.file("road.toml")});
    const ProcessResult a = runGame(withScreenshot(play, dir.file("built-in.png")));
    const ProcessResult b = runGame(withScreenshot(fromFile, dir.file("from-file.png")));
    ASSERT_EQ(a.exitCode, 0) << a.output;
    EXPECT_EQ(b.exitCode, 0) << b.output;
    EXPECT_EQ(b.output, a.output);
    EXPECT_TRUE(readFile(dir.file("from-file.png")) == readFile(dir.file("built-in.png")));
}

INSTANTIATE_TEST_SUITE_P(Replays, ExportedRoad, testing::ValuesIn(committedReplays()), testName);

// Refused before any window opens, each with its one line and exit code 1.
TEST(Levels, AReplayOfAnotherLevelIsRefusedBeforeTheWindowOpens) {
    TempDir dir;
    dir.write("elsewhere.replay", "level atlantis\ndt 1/60\n");
    const struct {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"--replay", dir.file("elsewhere.replay")},
         "Cannot replay " + dir.file("elsewhere.replay") +
             ": its level \"atlantis\" is not one of the set (--level FILE plays a level file's "
             "replays)\n"},
        {{"--level", "gaps", "--replay", "replays/win-the-level.replay"},
         "Cannot replay replays/win-the-level.replay: it is of the level \"road\", not of "
         "\"gaps\"\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult run = runGame(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.output, c.line);
    }
}

}  // namespace
