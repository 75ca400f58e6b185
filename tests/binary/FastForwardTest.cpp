#include <gtest/gtest.h>

#include "support/GameSession.h"
#include "support/FullLook.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// Frame times of 1/32 s add up exactly, so the frame-time lines are the same figures each time.
const char* const kHotkeyReplay =
    "dt 1/32 cursor 512 384\n"
    "dt 1/32 press F7 release F7 press F2 release F2\n"
    "frames 20 dt 1/32 keys W\n"
    "frames 8 dt 1/32 keys A cursor 530 384\n"
    "dt 1/32 press F8 release F8\n"
    "frames 2 dt 1/32 keys D\n";
constexpr int kHotkeyReplayFrames = 33;

// Undrawn frames still update the world, count what the colour pass would cull and print every
// line; the last scripted frame is drawn from the very same state. (Not in wire frame: there
// llvmpipe's picture of a frame depends a little on the frames drawn before it.)
TEST(FastForward, PrintsAndDrawsTheSameAsTheDrawnReplay) {
    TempDir dir;
    dir.write("hotkeys.replay", kHotkeyReplay);
    const std::vector<std::string> replay = withFullLook(
        {"--replay", dir.file("hotkeys.replay"), "--frames", std::to_string(kHotkeyReplayFrames)});
    std::vector<std::string> drawnArgs = replay;
    drawnArgs.insert(drawnArgs.end(), {"--screenshot", dir.file("drawn.png")});
    std::vector<std::string> fastArgs = replay;
    fastArgs.insert(fastArgs.end(), {"--fast-forward", "--screenshot", dir.file("fast.png")});

    const ProcessResult drawn = runGame(drawnArgs);
    const ProcessResult fast = runGame(fastArgs);
    ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
    EXPECT_EQ(fast.exitCode, 0) << fast.output;
    EXPECT_EQ(countOccurrences(drawn.output, "Drawn: "), kHotkeyReplayFrames - 2u) << drawn.output;
    EXPECT_EQ(countOccurrences(drawn.output, "Frametime: 31.25ms -- 32fps\n"), 1u) << drawn.output;
    EXPECT_EQ(fast.output, drawn.output);
    const std::string drawnPicture = readFile(dir.file("drawn.png"));
    EXPECT_FALSE(drawnPicture.empty());
    EXPECT_TRUE(readFile(dir.file("fast.png")) == drawnPicture) << "the last frames differ";
}

TEST(FastForward, ALosingReplayPrintsTheSameLines) {
    const ProcessResult drawn = runGame({"--replay", "replays/roll-into-target.replay"});
    const ProcessResult fast =
        runGame({"--fast-forward", "--replay", "replays/roll-into-target.replay"});
    ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
    EXPECT_EQ(countOccurrences(drawn.output, "You lost! Try again!\n"), 1u) << drawn.output;
    EXPECT_EQ(fast.exitCode, 0);
    EXPECT_EQ(fast.output, drawn.output);
}

TEST(FastForward, IsRefusedWithoutAReplay) {
    const ProcessResult result = runGame({"--fast-forward", "--frames", "5"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output,
              "--fast-forward needs --replay FILE: only a replay's frames can be fast-forwarded\n");
}

}  // namespace
