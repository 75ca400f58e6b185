// The pad as the real game answers it, played from replays: no machine here has a gamepad.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Image.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

constexpr int kFrames = 40;

ProcessResult runWithConfig(const TempDir& dir, const std::vector<std::string>& gameArgs) {
    std::vector<std::string> args{"/usr/bin/env",
                                  "XDG_CONFIG_HOME=" + dir.path(),
                                  ORBQUEST_BINARY,
                                  "--samples",
                                  "0",
                                  "--shadow-quality",
                                  "hard"};
    args.insert(args.end(), gameArgs.begin(), gameArgs.end());
    return runProcess(args, ORBQUEST_SOURCE_DIR, 300);
}

// The picture after kFrames frames that each hold 'words'.
Image viewAfter(const std::string& words) {
    TempDir dir;
    dir.write("roll.replay", "frames " + std::to_string(kFrames) + " dt 1/60 " + words + "\n");
    const ProcessResult run = runWithConfig(
        dir, {"--replay", dir.file("roll.replay"), "--frames", std::to_string(kFrames),
              "--screenshot", dir.file("view.png"), "--no-hud", "200", "150"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return readImage(dir.file("view.png"));
}

bool samePicture(const Image& a, const Image& b) {
    return a.loaded() && b.loaded() && a.texels == b.texels;
}

TEST(PadBinary, TheStickAndTheDpadRollTheBallExactlyAsTheKeysDo) {
    const Image keys = viewAfter("keys W D");
    const Image stick = viewAfter("pad 0.8 -1 0 0 0");
    const Image dpad = viewAfter("pad 0 0 0 0 1800");  // up and right
    const Image drift = viewAfter("pad 0.15 -0.19 0 0 0");
    const Image still = viewAfter("");
    ASSERT_TRUE(keys.loaded());
    EXPECT_TRUE(samePicture(stick, keys));
    EXPECT_TRUE(samePicture(dpad, keys));
    EXPECT_TRUE(samePicture(drift, still)) << "within the dead zone the ball stays";
    EXPECT_FALSE(samePicture(keys, still)) << "the ball rolled";
}

TEST(PadBinary, StartPausesAndResumesAndBackRestartsOncePerPress) {
    TempDir dir;
    dir.write("buttons.replay",
              "frames 3 dt 1/60\n"
              "frames 5 dt 1/60 pad 0 0 0 0 80\n"  // Start held
              "frames 3 dt 1/60 pad 0 0 0 0 0\n"
              "frames 5 dt 1/60 pad 0 0 0 0 80\n"
              "frames 3 dt 1/60 pad 0 0 0 0 0\n"
              "frames 4 dt 1/60 pad 0 0 0 0 40\n");  // Back held
    const ProcessResult run =
        runWithConfig(dir, {"--replay", dir.file("buttons.replay"), "--frames", "23"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Game paused\n"), 1u) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Game resumed\n"), 1u) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "Game restarted\n"), 1u) << run.output;
    EXPECT_LT(run.output.find("Game paused"), run.output.find("Game resumed"));
}

TEST(PadBinary, ExtraMappingsAreAddedAndABadFileGetsOneLine) {
    const std::string mapping =
        "03000000f00d00000100000000010000,Orbquest Test Pad,a:b0,b:b1,x:b2,y:b3,back:b6,"
        "start:b7,leftx:a0,lefty:a1,rightx:a3,righty:a4,platform:Linux,\n";
    const struct {
        std::string text;
        bool refused;
    } cases[] = {
        {"# my pads\n" + mapping, false},
        {mapping + "this is no mapping\n", true},
        {"03000000f00d0000,broken\n", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("orbquest/gamecontrollerdb.txt", c.text);
        const ProcessResult run = runWithConfig(dir, {"--frames", "1"});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        const std::string line = "Gamepad mappings in " + dir.file("orbquest/gamecontrollerdb.txt");
        EXPECT_EQ(countOccurrences(run.output, line), c.refused ? 1u : 0u) << c.text << run.output;
    }
}

}  // namespace
