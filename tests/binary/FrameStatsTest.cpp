#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/FrameStats.h"
#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

std::vector<double> fieldsOf(const std::string& row) {
    std::vector<double> fields;
    std::istringstream stream(row);
    std::string field;
    while (std::getline(stream, field, ',')) {
        fields.push_back(std::stod(field));
    }
    return fields;
}

// Column indices of the CSV row, as frameStatsHeader names them.
enum Column {
    kFrame,
    kFrameMs,
    kShadowPass,
    kColourPass,
    kShadowSubmit,
    kUpdate,
    kColourSubmit,
    kSwap,
    kProcessCpu,
    kColumnCount
};

struct StatsCase {
    const char* name;
    std::vector<std::string> extraArgs;
    bool drawsTheLevel;
};

class FrameStatsRun : public testing::TestWithParam<StatsCase> {};

TEST_P(FrameStatsRun, WritesOneRowPerFrameWithConsistentFigures) {
    constexpr int kFrames = 4;
    TempDir dir;
    dir.write("still.replay", "frames 4 dt 1/60 cursor 512 384\n");
    std::vector<std::string> args{"--frames",      std::to_string(kFrames),
                                  "--replay",      dir.file("still.replay"),
                                  "--frame-stats", dir.file("stats.csv")};
    args.insert(args.end(), GetParam().extraArgs.begin(), GetParam().extraArgs.end());
    const ProcessResult run = runGame(args);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("An GL-Error occured!"), std::string::npos) << run.output;

    const std::vector<std::string> lines = splitLines(readFile(dir.file("stats.csv")));
    ASSERT_EQ(lines.size(), 1u + kFrames);
    EXPECT_EQ(lines[0], frameStatsHeader());
    for (int frame = 0; frame < kFrames; ++frame) {
        const std::vector<double> row = fieldsOf(lines[1 + frame]);
        ASSERT_EQ(row.size(), static_cast<size_t>(kColumnCount)) << lines[1 + frame];
        EXPECT_EQ(row[kFrame], frame);
        for (int column = kFrameMs; column < kColumnCount; ++column) {
            EXPECT_GE(row[column], 0.0) << "column " << column << " of " << lines[1 + frame];
        }
        // The CPU figures are consecutive stretches of the frame.
        EXPECT_GE(row[kFrameMs] + 0.01,
                  row[kShadowSubmit] + row[kUpdate] + row[kColourSubmit] + row[kSwap])
            << lines[1 + frame];
        if (GetParam().drawsTheLevel) {
            EXPECT_GT(row[kShadowPass], 0.0) << lines[1 + frame];
            EXPECT_GT(row[kColourPass], 0.0) << lines[1 + frame];
        }
    }
}

const StatsCase kStatsCases[] = {
    {"Level", {}, true},
    {"EmptyFrames", {"--empty-frames"}, false},
};

INSTANTIATE_TEST_SUITE_P(Runs, FrameStatsRun, testing::ValuesIn(kStatsCases),
                         [](const testing::TestParamInfo<StatsCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FrameStatsFile, AnUnwritableFileIsRefusedBeforeTheWindowOpens) {
    TempDir dir;
    const std::string path = dir.file("no-such-folder/stats.csv");
    const ProcessResult run = runGame({"--frames", "1", "--frame-stats", path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Cannot write the frame statistics file " + path), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Welcome"), std::string::npos) << run.output;
}

}  // namespace
