#include "levels/LevelFile.h"

#include <gtest/gtest.h>

#include <string>

#include "fuzz/ParserChecks.h"
#include "game/LevelCatalog.h"
#include "game/LevelLayout.h"
#include "levels/FallLimits.h"
#include "support/TempDir.h"

namespace {

// The road as a file is the road: every float as it was built, and the fall rule compares
// against the very numbers it always has.
TEST(LevelFile, TheRoadReadsBackAsItselfAndFallsWhereItAlwaysDid) {
    const levels::LevelDescription road = roadLevel();
    const levels::LevelRead back = levels::parseLevel(levels::formatLevel(road), "road.toml");
    ASSERT_EQ(back.error, "");
    EXPECT_TRUE(back.level == road);
    EXPECT_EQ(back.level.blocks.size(), 349u);
    EXPECT_EQ(back.level.targets.size(), 178u);

    const levels::FallLimits fall = levels::fallLimitsOf(back.level);
    ASSERT_EQ(fall.ground.size(), 1u);
    EXPECT_EQ(fall.ground[0].lowX, -6.3f);
    EXPECT_EQ(fall.ground[0].highX, 6.3f);
    EXPECT_EQ(fall.ground[0].lowZ, -12.2f);
    EXPECT_EQ(fall.ground[0].highZ, 120.3f);
    EXPECT_EQ(fall.groundHeight, -3.4f);
    EXPECT_EQ(fall.lostHeight, 3.0f);
}

// Each refusal is one line naming the file and the line or key, and the fuzzer's checks hold.
TEST(LevelFile, WhatTheGameCannotPlayIsRefusedWithWhereAndWhatIsAccepted) {
    const std::string head =
        "name = \"my-level\"\ntitle = \"Mine\"\npar_time = 30\n"
        "floor = [ { position = [0, -1.3, -8], size = [3, 1, 5.5] } ]\n";
    const std::string ground = "ground = [ { x = [-3.3, 3.3], z = [-8.3, 3.3] } ]\n";
    const std::string target = "targets = [ [0, 0, -4] ]\n";
    const std::string file = "Level file my-level.toml";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {head + ground + target, ""},
        {head + ground + "# \xc3\xa9t\xc3\xa9\ntargets = [ [0, 0, -4] ]\n",
         file + ", line 6: a character beyond ASCII; a level file is ASCII text"},
        {head + ground + "targets = [ [0, 0, -4]\n", file + ", line 6: not TOML: " +
                                                         "Error while parsing array: encountered "
                                                         "end-of-file"},
        {head + ground + target + "colour = 3\n",
         file + ", line 7: unknown key \"colour\"; a level has name, title, par_time, floor, "
                "ground, blocks, targets, ducks, backdrops"},
        {head + ground + "targets = [ [0, nan, -4] ]\n",
         file + ", line 6: targets[0] y is nan, not a number from -1000 to 1000"},
        {head + ground + target + "blocks = [ [2, 0.7, 1e4] ]\n",
         file + ", line 7: blocks[0] z is 10000, not a number from -1000 to 1000"},
        {head + ground, file + ": no targets; a level has 1 to 500"},
        {head + ground + target + "blocks = [ [0.5, 0.7, 0.5] ]\n",
         file + ", line 7: blocks[0] is where the ball starts, at 0 0 0"},
        {head + "ground = [ { x = [-3, 3], z = [-8, -1] } ]\n" + target,
         file + ", line 5: the ball starts at 0 0 0, which no ground rectangle holds"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(levels::parseLevel(c.text, "my-level.toml").error, c.error) << c.text;
        EXPECT_EQ(checkLevelText(c.text), "") << c.text;
    }
    TempDir dir;
    EXPECT_EQ(levels::loadLevelFile(dir.file("none.toml")).error,
              "Level file " + dir.file("none.toml") + ": there is no such file");
    EXPECT_EQ(levels::loadLevelFile(dir.path()).error,
              "Level file " + dir.path() + ": cannot be read (it is a folder)");
}

// A file may not pass for a level of the set it is not: the set's best times stay its own.
TEST(LevelCatalog, AFileTakesTheNameOfALevelOfTheSetOnlyBeingThatLevel) {
    TempDir dir;
    levels::LevelDescription road = roadLevel();
    dir.write("road.toml", levels::formatLevel(road));
    EXPECT_EQ(findLevel(dir.file("road.toml")).error, "");
    road.targets.pop_back();
    dir.write("easier.toml", levels::formatLevel(road));
    EXPECT_EQ(findLevel(dir.file("easier.toml")).error,
              "Level file " + dir.file("easier.toml") +
                  ": its name \"road\" is that of a level of the set, which it is not; give it a "
                  "name of its own");
}

}  // namespace
