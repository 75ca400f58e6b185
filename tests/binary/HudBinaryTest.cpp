#include <gtest/gtest.h>

#include <FreeImage.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// A screenshot as RGB rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    explicit Picture(const std::string& path) {
        FIBITMAP* bitmap = FreeImage_Load(FIF_PNG, path.c_str(), 0);
        if (!bitmap) {
            return;
        }
        width = static_cast<int>(FreeImage_GetWidth(bitmap));
        height = static_cast<int>(FreeImage_GetHeight(bitmap));
        for (int y = height - 1; y >= 0; --y) {  // FreeImage's first row is the bottom one
            const BYTE* row = FreeImage_GetScanLine(bitmap, y);
            const unsigned step = FreeImage_GetBPP(bitmap) / 8;
            for (int x = 0; x < width; ++x) {
                rgb.insert(rgb.end(), {row[x * step + FI_RGBA_RED], row[x * step + FI_RGBA_GREEN],
                                       row[x * step + FI_RGBA_BLUE]});
            }
        }
        FreeImage_Unload(bitmap);
    }

    // Pixels in the box (fractions of the picture) that differ from the other picture's.
    int differing(const Picture& other, float left, float top, float right, float bottom) const {
        int count = 0;
        for (int y = static_cast<int>(top * height); y < static_cast<int>(bottom * height); ++y) {
            for (int x = static_cast<int>(left * width); x < static_cast<int>(right * width); ++x) {
                const size_t at = 3 * (static_cast<size_t>(y) * width + x);
                count += !std::equal(&rgb[at], &rgb[at + 3], &other.rgb[at]);
            }
        }
        return count;
    }
};

ProcessResult runGame(const std::vector<std::string>& args) {
    std::vector<std::string> command{ORBQUEST_BINARY};
    command.insert(command.end(), args.begin(), args.end());
    return runProcess(command, ORBQUEST_SOURCE_DIR, 300);
}

struct WindowSize {
    const char* width;
    const char* height;
};

class HudPicture : public testing::TestWithParam<WindowSize> {};

// Three still frames: the game's own picture (--no-hud), with the display, and with the display
// hidden by H before the last frame, which must be the game's own picture to the pixel.
TEST_P(HudPicture, TheDisplayIsWhereItBelongsAndHiddenLeavesEveryPixelAsTheGameDrawsIt) {
    const WindowSize size = GetParam();
    TempDir dir;
    dir.write("still.replay", "frames 3 dt 1/60 cursor 100 100\n");
    // Frame 1's poll finds no callback yet; H in frame 2's poll hides the display of frame 3.
    dir.write("hide.replay", "dt 1/60 cursor 100 100\ndt 1/60 press H release H\ndt 1/60\n");
    const std::vector<std::string> window{size.width, size.height, "--frames", "3"};
    auto shoot = [&](const std::string& name, const std::vector<std::string>& more) {
        std::vector<std::string> args = window;
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"--screenshot", dir.file(name)});
        const ProcessResult run = runGame(args);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return Picture(dir.file(name));
    };
    const Picture game = shoot("game.png", {"--replay", dir.file("still.replay"), "--no-hud"});
    const Picture shown = shoot("shown.png", {"--replay", dir.file("still.replay")});
    const Picture hidden = shoot("hidden.png", {"--replay", dir.file("hide.replay")});
    ASSERT_EQ(game.width, std::stoi(size.width));
    ASSERT_EQ(shown.rgb.size(), game.rgb.size());
    ASSERT_EQ(hidden.rgb.size(), game.rgb.size());

    EXPECT_GT(shown.differing(game, 0.0f, 0.0f, 0.4f, 0.15f), 0) << "targets and time, top left";
    EXPECT_GT(shown.differing(game, 0.0f, 0.9f, 1.0f, 1.0f), 0) << "the keys along the bottom";
    EXPECT_EQ(shown.differing(game, 0.5f, 0.0f, 1.0f, 0.5f), 0) << "nothing top right";
    EXPECT_EQ(shown.differing(game, 0.0f, 0.25f, 1.0f, 0.85f), 0) << "nothing in the middle";
    EXPECT_TRUE(hidden.rgb == game.rgb) << "hidden, the display leaves no pixel changed";
}

INSTANTIATE_TEST_SUITE_P(Sizes, HudPicture,
                         testing::Values(WindowSize{"320", "240"}, WindowSize{"1024", "768"}));

TEST(HudBinary, WithoutAFontTheGameRunsWithoutTheDisplayAndSaysWhyOnce) {
    TempDir dir;
    dir.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    const ProcessResult run =
        runProcess({"/usr/bin/env", "FONTCONFIG_FILE=" + dir.file("fonts.conf"), ORBQUEST_BINARY,
                    "--frames", "3"},
                   ORBQUEST_SOURCE_DIR, 300);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(countOccurrences(run.output, "On-screen display off: "), 1u) << run.output;
}

// Presses a key until the game prints 'line' once more than before; false if it never does
// (the first frame's events find no callback yet).
bool pressUntil(GameSession& game, const std::string& key, const std::string& line) {
    const size_t before = countOccurrences(game.process().output(), line);
    for (int attempt = 0; attempt < 10 && game.process().running(); ++attempt) {
        game.pressKey(key);
        for (int wait = 0; wait < 50; ++wait) {
            if (countOccurrences(game.process().output(), line) > before) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return false;
}

void hold(GameSession& game, const std::string& key, int milliseconds) {
    game.keyDown(key);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    game.keyUp(key);
}

std::vector<std::string> flowLines(const std::string& output) {
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(output)) {
        if (line.rfind("Game ", 0) == 0 || line == "You lost! Try again!") {
            lines.push_back(line);
        }
    }
    return lines;
}

// Played live with real keys and recorded; the recording then plays to the same lines and the
// same last picture, fast-forwarded.
TEST(HudBinary, PauseAndRestartPlayLiveAndBackFromTheRecording) {
    TempDir dir;
    const std::string recording = dir.file("live.replay");
    GameSession game({"320", "240", "--record", recording, "--screenshot", dir.file("live.png")},
                     dir.path());
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    ASSERT_FALSE(game.windowId().empty());
    ASSERT_TRUE(pressUntil(game, "p", "Game paused")) << game.process().output();
    ASSERT_TRUE(pressUntil(game, "F12", "Screenshot saved as ")) << game.process().output();
    hold(game, "w", 1500);  // nothing moves while paused
    ASSERT_TRUE(pressUntil(game, "F12", "Screenshot saved as ")) << game.process().output();
    EXPECT_TRUE(readFile(dir.file("orbquest-0001.png")) == readFile(dir.file("orbquest-0002.png")))
        << "the paused picture stays as it was";
    ASSERT_TRUE(pressUntil(game, "p", "Game resumed")) << game.process().output();
    hold(game, "a", 300);  // sideways, where no target is near
    ASSERT_TRUE(pressUntil(game, "r", "Game restarted")) << game.process().output();
    hold(game, "d", 300);
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0) << game.process().output();
    game.keyUp("Escape");
    const std::vector<std::string> expected{"Game paused", "Game resumed", "Game restarted"};
    EXPECT_EQ(flowLines(game.process().output()), expected);

    TempDir replayDir;
    const ProcessResult replay =
        runProcess({ORBQUEST_BINARY, "320", "240", "--replay", recording, "--fast-forward",
                    "--screenshot", replayDir.file("replay.png")},
                   replayDir.path(), 300);
    EXPECT_EQ(replay.exitCode, 0) << replay.output;
    EXPECT_EQ(flowLines(replay.output), expected) << replay.output;
    EXPECT_TRUE(readFile(replayDir.file("replay.png")) == readFile(dir.file("live.png")))
        << "the replay's last picture differs from the live one";
}

// The focus goes to the root window, as when the player clicks on another program.
void focusElsewhere() {
    const std::string root = shellOutput("xwininfo -root | awk '/Window id/ {print $4}'");
    xdotool("windowfocus " + root);
}

TEST(HudBinary, LosingTheFocusPausesLivePlayButNotAReplay) {
    TempDir dir;
    GameSession live({"320", "240"}, dir.path());
    ASSERT_TRUE(live.waitForWelcome()) << live.process().output();
    ASSERT_FALSE(live.windowId().empty());
    bool paused = false;
    for (int attempt = 0; attempt < 10 && !paused; ++attempt) {  // until the callbacks are in
        live.pressKey("F10");  // a key the game does not use, to take the focus
        focusElsewhere();
        paused = live.process().waitForOutput("Game paused\n", 5);
    }
    EXPECT_TRUE(paused) << live.process().output();
    live.keyDown("Escape");
    EXPECT_EQ(live.process().wait(60), 0);
    live.keyUp("Escape");

    dir.write("long.replay", "frames 150 dt 1/60 cursor 0 0\n");
    GameSession replay({"320", "240", "--replay", dir.file("long.replay"), "--frames", "150"},
                       dir.path());
    ASSERT_TRUE(replay.waitForWelcome()) << replay.process().output();
    ASSERT_FALSE(replay.windowId().empty());
    for (int attempt = 0; attempt < 3 && replay.process().running(); ++attempt) {
        replay.pressKey("F10");
        focusElsewhere();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    EXPECT_EQ(replay.process().wait(120), 0);
    EXPECT_EQ(replay.process().output().find("Game paused"), std::string::npos)
        << replay.process().output();
}

// The start of a fall comes from a replay; the rest of it, the loss and the wait are live.
TEST(HudBinary, RDuringTheWaitAfterTheEndStartsANewGame) {
    TempDir dir;
    dir.write("fall.replay", "frames 12 dt 1/15 keys S\nframes 10 dt 1/15\n");
    GameSession game({"320", "240", "--replay", dir.file("fall.replay")}, dir.path());
    ASSERT_TRUE(game.process().waitForOutput("You lost! Try again!\n", 120))
        << game.process().output();
    ASSERT_FALSE(game.windowId().empty());
    game.pressKey("r");
    ASSERT_TRUE(game.process().waitForOutput("Game restarted\n", 10)) << game.process().output();
    std::this_thread::sleep_for(std::chrono::seconds(4));
    EXPECT_TRUE(game.process().running()) << "a new game goes on past the three seconds";
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0) << game.process().output();
    game.keyUp("Escape");
}

}  // namespace
