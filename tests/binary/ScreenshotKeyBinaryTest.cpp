#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "render/GlSetup.h"
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

// The share of an edge's pixels (left, right, bottom, top) in the clear colour: sky.
double skyShareOfEdge(const Image& image, int edge) {
    const glm::vec3 sky = glm::vec3(kClearColour[0], kClearColour[1], kClearColour[2]) * 255.0f;
    const int length = edge < 2 ? image.height : image.width;
    int skyPixels = 0;
    for (int i = 0; i < length; ++i) {
        const glm::vec3 pixel = edge < 2 ? image.at(edge == 0 ? 0 : image.width - 1, i)
                                         : image.at(i, edge == 2 ? 0 : image.height - 1);
        skyPixels += glm::all(glm::lessThanEqual(glm::abs(pixel - sky), glm::vec3(2.0f))) ? 1 : 0;
    }
    return static_cast<double>(skyPixels) / length;
}

// Made larger while it runs, the window is drawn whole: F12's picture has the new size and the
// level reaches every edge as it did at the start (drawn at the start-up size, the new right
// and top strips would be plain sky).
TEST(ScreenshotKeyBinary, AResizedWindowIsDrawnWholeAndItsPictureHasTheNewSize) {
    TempDir start;
    GameSession game({"--no-hud", "1024", "768"}, start.path());
    ASSERT_TRUE(game.waitForWelcome()) << game.process().output();
    const std::string window = game.windowId();
    ASSERT_TRUE(game.turnOnCullingInfo()) << game.process().output();
    game.pressKey("F12");
    ASSERT_TRUE(game.process().waitForOutput("orbquest-0001.png\n", 60));
    xdotool("windowsize --sync " + window + " 1280 1000");
    const size_t resizedAt = game.process().output().size();  // three frames at the new size
    for (int wait = 0; wait < 600 && game.process().running() &&
                       countOccurrences(game.process().output().substr(resizedAt), "Drawn: ") < 3;
         ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    game.pressKey("F12");
    EXPECT_TRUE(game.process().waitForOutput("orbquest-0002.png\n", 60));
    game.keyDown("Escape");
    EXPECT_EQ(game.process().wait(60), 0);
    game.keyUp("Escape");

    const Image before = readImage(start.file("orbquest-0001.png"));
    const Image after = readImage(start.file("orbquest-0002.png"));
    ASSERT_EQ(before.size(), std::make_pair(1024, 768));
    ASSERT_EQ(after.size(), std::make_pair(1280, 1000));
    for (int edge = 0; edge < 4; ++edge) {
        EXPECT_NEAR(skyShareOfEdge(after, edge), skyShareOfEdge(before, edge), 0.1) << edge;
    }
}

}  // namespace
