#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

const char* const kLostLine = "You lost! Try again!\n";

// The lines the game printed once it was running.
std::string afterWelcome(const std::string& output) {
    const std::string welcome = "Welcome to >>Orbquest<<\n";
    const size_t at = output.find(welcome);
    return at == std::string::npos ? "" : output.substr(at + welcome.size());
}

class LosingReplay : public testing::TestWithParam<const char*> {};

TEST_P(LosingReplay, PrintsTheLostLineOnceAndEndsThreeSecondsLater) {
    GameSession game({"--replay", GetParam()});
    ASSERT_TRUE(game.process().waitForOutput(kLostLine, 300)) << game.process().output();
    const auto lost = std::chrono::steady_clock::now();
    EXPECT_EQ(game.process().wait(60), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - lost).count();
    EXPECT_GE(seconds, 2.9) << "the last frame stays on screen for three seconds";
    EXPECT_EQ(countOccurrences(game.process().output(), kLostLine), 1u) << "no frame after the end";
}

INSTANTIATE_TEST_SUITE_P(Replays, LosingReplay,
                         testing::Values("replays/roll-into-target.replay",
                                         "replays/fall-off-the-back.replay"));

TEST(ReplayFiles, AMalformedReplayIsRefusedBeforeTheWindowOpens) {
    TempDir dir;
    dir.write("bad.replay", "frames 3 dt 1/60 keys W\njump 2 dt 1/60\n");
    const ProcessResult result = runGame({"--replay", dir.file("bad.replay")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output,
              "Cannot replay " + dir.file("bad.replay") + ": line 2: unknown word \"jump\"\n");
}

TEST(ReplayFiles, MissingReplayAndUnwritableRecordingAreRefused) {
    const ProcessResult missing = runGame({"--replay", "/no/such/file.replay"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, "Cannot replay /no/such/file.replay: the file cannot be read\n");

    const ProcessResult unwritable = runGame({"--record", "/no/such/dir/x.replay"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.output.rfind("Cannot record to /no/such/dir/x.replay: ", 0), 0u)
        << unwritable.output;
}

// A player watching a replay can still quit with Escape; other real keys do not reach the game.
TEST(ReplayFiles, RealEscapeEndsAReplayAndOtherRealKeysAreIgnored) {
    TempDir dir;
    dir.write("long.replay", "frames 100000 dt 1/60 cursor 512 384\n");
    GameSession game({"--replay", dir.file("long.replay")});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    ASSERT_FALSE(game.windowId().empty());
    game.pressKey("F1");
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");
    EXPECT_EQ(game.process().output().find("F1 - Help"), std::string::npos)
        << game.process().output();
}

void holdFor(GameSession& game, const std::string& key, int milliseconds) {
    game.keyDown(key);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    game.keyUp(key);
}

// A session played with real key presses and mouse moves, then replayed from its recording:
// the frame times, culling counts and help lines come out the same.
TEST(ReplayFiles, ARecordedLiveSessionReplaysToTheSameConsoleLines) {
    TempDir dir;
    const std::string recording = dir.file("session.replay");
    GameSession live({"--record", recording});
    ASSERT_TRUE(live.waitForWelcome()) << live.process().output();
    ASSERT_FALSE(live.windowId().empty());
    ASSERT_TRUE(live.turnOnCullingInfo()) << live.process().output();  // counts every frame
    live.pressKey("F8");                                               // culling on
    ASSERT_TRUE(live.process().waitForOutput("Viewfrustum-Culling: On\n", 60));
    live.pressKey("F2");  // frame times, every 30th frame (if the session runs that long)
    holdFor(live, "w", 800);
    xdotool("mousemove_relative -- 40 0");
    holdFor(live, "a", 500);
    live.pressKey("F1");
    live.keyDown("Escape");
    ASSERT_EQ(live.process().wait(120), 0) << live.process().output();
    live.keyUp("Escape");

    const std::string liveLines = afterWelcome(live.process().output());
    ASSERT_NE(liveLines.find("Drawn: "), std::string::npos) << liveLines;
    ASSERT_NE(liveLines.find("F9 - Transparency On / Off"), std::string::npos) << liveLines;

    const ProcessResult replay = runGame({"--replay", recording});
    EXPECT_EQ(replay.exitCode, 0);
    EXPECT_EQ(afterWelcome(replay.output), liveLines);
}

}  // namespace
