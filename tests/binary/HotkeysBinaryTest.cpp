#include <FreeImage.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "support/FullLook.h"
#include "support/HelpText.h"
#include "support/GameSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// Share of the picture left in the clear colour (0.9, 0.7, 0.1), which the filled start view
// shows only above the horizon and the wire frame almost everywhere. -1 if unreadable.
double clearColourShare(const std::string& path) {
    std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> bitmap(
        FreeImage_Load(FIF_PNG, path.c_str(), PNG_DEFAULT), FreeImage_Unload);
    if (!bitmap) {
        return -1.0;
    }
    const unsigned width = FreeImage_GetWidth(bitmap.get());
    const unsigned height = FreeImage_GetHeight(bitmap.get());
    size_t clear = 0;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            RGBQUAD pixel;
            FreeImage_GetPixelColor(bitmap.get(), x, y, &pixel);
            clear += std::abs(pixel.rgbRed - 230) <= 2 && std::abs(pixel.rgbGreen - 179) <= 2 &&
                     std::abs(pixel.rgbBlue - 26) <= 2;
        }
    }
    return static_cast<double>(clear) / (static_cast<double>(width) * height);
}

// Real key presses on the game window. Each line is awaited before the next key, so every
// key lands in a frame of its own; Escape is held until the game has seen it after a poll.
TEST(HotkeysBinary, FunctionKeysPrintTheirLines) {
    GameSession game({});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    ASSERT_FALSE(game.windowId().empty());

    ASSERT_TRUE(game.turnOnCullingInfo()) << game.process().output();
    EXPECT_TRUE(game.process().waitForOutput("Drawn: ", 60));
    game.pressKey("F1");
    EXPECT_TRUE(game.process().waitForOutput("F9 - Transparency On / Off\n", 60));
    game.pressKey("F8");
    EXPECT_TRUE(game.process().waitForOutput("Viewfrustum-Culling: On\n", 60));
    game.pressKey("F3");
    EXPECT_TRUE(game.process().waitForOutput("Wireframe: On\n", 60));
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");

    const std::string& output = game.process().output();
    EXPECT_EQ(countOccurrences(output, kHelpBlock), 1u) << output;
    EXPECT_EQ(countOccurrences(output, "\nViewfrustum-Culling: On\n"), 1u) << output;
    EXPECT_EQ(countOccurrences(output, "\nWireframe: On\n"), 1u) << output;
    EXPECT_EQ(output.find("An GL-Error occured!"), std::string::npos) << output;
}

// The pictures come from replays that hold the cursor still: a live pointer would turn the
// camera by wherever it happens to be.
TEST(HotkeysBinary, F3DrawsTheWireFrame) {
    TempDir dir;
    dir.write("filled.replay", "frames 3 dt 1/60 cursor 512 384\n");
    dir.write("wire.replay", "dt 1/60 cursor 512 384\ndt 1/60 press F3 release F3\ndt 1/60\n");
    double share[2] = {-1.0, -1.0};
    const char* const names[2] = {"filled", "wire"};
    for (int i = 0; i < 2; ++i) {
        const std::string picture = dir.file(std::string(names[i]) + ".png");
        const std::string replay = dir.file(std::string(names[i]) + ".replay");
        const ProcessResult run =
            runGame(withFullLook({"--frames", "3", "--replay", replay, "--screenshot", picture}));
        ASSERT_EQ(run.exitCode, 0) << run.output;
        share[i] = clearColourShare(picture);
    }
    EXPECT_GE(share[0], 0.0);
    EXPECT_LT(share[0], 0.5);
    EXPECT_GT(share[1], 0.8);
}

TEST(HotkeysBinary, ResizingTheWindowKeepsTheGameRunningWithoutGlErrors) {
    GameSession game({});
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    const std::string window = game.windowId();
    ASSERT_FALSE(window.empty());
    // With the culling info on, every frame prints a line: they show the frames go on.
    ASSERT_TRUE(game.turnOnCullingInfo()) << game.process().output();

    xdotool("windowsize " + window + " 900 700");
    const size_t resizedAt = game.process().output().size();
    size_t framesAfter = 0;
    for (int wait = 0; wait < 600 && framesAfter < 10 && game.process().running(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        framesAfter = countOccurrences(game.process().output().substr(resizedAt), "Drawn: ");
    }
    EXPECT_GE(framesAfter, 10u) << game.process().output();
    EXPECT_EQ(windowSize(window), std::make_pair(900, 700));

    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");
    EXPECT_EQ(game.process().output().find("An GL-Error occured!"), std::string::npos)
        << game.process().output();
}

}  // namespace
