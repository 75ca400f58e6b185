#include <gtest/gtest.h>

#include "support/FullLook.h"
#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

const char* const kWonLine = "Congratulations, you won the game!\n";

TEST(AutopilotBinary, TheWinReplayWinsFastForwarded) {
    const ProcessResult run =
        runGame(withFullLook({"--fast-forward", "--replay", "replays/win-the-level.replay"}));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, std::string("Welcome to >>Orbquest<<\n") + kWonLine);
}

// A replay without keys only sets the frame times: the autopilot flies on a clock of 0.3 s a
// frame, the frames undrawn.
TEST(AutopilotBinary, WinsOnACoarseClock) {
    TempDir dir;
    dir.write("coarse.replay", "frames 3000 dt 0.3\n");
    const ProcessResult run =
        runGame({"--fast-forward", "--replay", dir.file("coarse.replay"), "--autopilot"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(countOccurrences(run.output, kWonLine), 1u) << run.output;
    EXPECT_EQ(run.output.find("You lost!"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Autopilot: 178 of 178 targets in "), std::string::npos)
        << run.output;
}

TEST(AutopilotBinary, AFlightKeyHandsTheBallToThePlayer) {
    GameSession game({"--autopilot"});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    // Held until the game has seen it: a frame of the software renderer is longer than a tap.
    game.keyDown("d");
    EXPECT_TRUE(game.process().waitForOutput("Autopilot off: the ball is yours\n", 60))
        << game.process().output();
    game.keyUp("d");
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");
    EXPECT_EQ(game.process().output().find("Autopilot: "), std::string::npos)
        << "no summary once the player has the ball";
}

}  // namespace
