#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/GameSession.h"
#include "support/Image.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// The build tree's game started from an unrelated folder: it finds the repository's assets
// from its own folder, and real F12 presses leave their pictures where it was started.
TEST(ScreenshotKeyBinary, TwoPressesWriteTwoPicturesOfTheWindowWhereTheGameWasStarted) {
    TempDir start;
    start.write("orbquest-0001.png", "an earlier picture");
    GameSession game({"800", "600"}, start.path());
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    const std::string window = game.windowId();
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(game.turnOnCullingInfo()) << game.process().output();

    game.pressKey("F12");
    EXPECT_TRUE(game.process().waitForOutput("orbquest-0002.png\n", 60));
    game.pressKey("F12");
    EXPECT_TRUE(game.process().waitForOutput("orbquest-0003.png\n", 60));
    const std::pair<int, int> windowPixels = windowSize(window);
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");

    const std::string& output = game.process().output();
    EXPECT_EQ(
        countOccurrences(output, "Screenshot saved as " + start.file("orbquest-0002.png") + "\n"),
        1u)
        << output;
    EXPECT_EQ(
        countOccurrences(output, "Screenshot saved as " + start.file("orbquest-0003.png") + "\n"),
        1u)
        << output;
    EXPECT_EQ(countOccurrences(output, "Screenshot"), 2u) << output;
    EXPECT_EQ(windowPixels, std::make_pair(800, 600));
    EXPECT_EQ(readImage(start.file("orbquest-0002.png")).size(), windowPixels);
    EXPECT_EQ(readImage(start.file("orbquest-0003.png")).size(), windowPixels);
    EXPECT_EQ(readFile(start.file("orbquest-0001.png")), "an earlier picture");
}

}  // namespace
