#include "app/ScreenshotKey.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "app/Callbacks.h"
#include "app/Settings.h"
#include "support/FakeInput.h"
#include "support/GlContext.h"
#include "support/Image.h"
#include "support/Printed.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// The colour in the middle of a picture file; black if it cannot be read.
glm::ivec4 middleOf(const std::string& path) {
    const Image image = readImage(path);
    return image.loaded() ? image.at(image.width / 2, image.height / 2) : glm::ivec4(0);
}

// F12 through the game's key callback, fed by the input layer, with the hidden test window's
// default framebuffer standing in for the game's frame.
class ScreenshotKeyTest : public testing::Test {
  protected:
    FakeInput input;
    TempDir dir;
    GLFWwindow* window = sharedGlContext();

    void SetUp() override { input::setKeyCallback(window, keyCallback); }
    void TearDown() override { screenshotKey = nullptr; }

    // Draws a frame of one colour, as the main loop would before the swap, and writes what F12
    // asked for; returns what was printed.
    std::string drawAndWrite(ScreenshotKey& key, float red) {
        // Other tests of this process leave their own state behind; the game's frames cover the
        // whole window, as this one does.
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDrawBuffer(GL_BACK);
        glDisable(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glViewport(0, 0, windowPixels().first, windowPixels().second);
        glClearColor(red, 0.5f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return printedBy([&] { key.writePending(windowPixels().first, windowPixels().second); });
    }

    std::pair<int, int> windowPixels() const {
        int width = 0;
        int height = 0;
        glfwGetFramebufferSize(window, &width, &height);
        return {width, height};
    }

    std::string poll() {
        return printedBy([&] { input::pollEvents(window); });
    }
};

TEST_F(ScreenshotKeyTest, EachPressWritesTheNextFreeNumberInItsFolder) {
    ScreenshotKey key(dir.path());
    screenshotKey = &key;
    dir.write("orbquest-0001.png", "taken by an earlier game");
    dir.write("orbquest-0003.png", "taken by an earlier game");

    // A press, its auto-repeats and its release ask once; the table's keys are all up.
    input.queuePress(GLFW_KEY_F12);
    input.queueEvent(GLFW_KEY_F12, GLFW_REPEAT);
    input.queueEvent(GLFW_KEY_F12, GLFW_REPEAT);
    input.queueRelease(GLFW_KEY_F12);
    EXPECT_EQ(poll(), "");
    EXPECT_TRUE(key.pending());
    EXPECT_EQ(drawAndWrite(key, 1.0f),
              "Screenshot saved as " + dir.file("orbquest-0002.png") + "\n");
    EXPECT_FALSE(key.pending());
    EXPECT_EQ(drawAndWrite(key, 0.0f), "") << "nothing asked, nothing written";

    // Two presses before one frame: two files of that frame.
    input.queuePress(GLFW_KEY_F12);
    input.queueRelease(GLFW_KEY_F12);
    input.queuePress(GLFW_KEY_F12);
    input.queueRelease(GLFW_KEY_F12);
    poll();
    EXPECT_EQ(drawAndWrite(key, 0.0f), "Screenshot saved as " + dir.file("orbquest-0004.png") +
                                           "\nScreenshot saved as " +
                                           dir.file("orbquest-0005.png") + "\n");

    for (const auto& [name, red] :
         {std::make_pair("orbquest-0002.png", 255), std::make_pair("orbquest-0004.png", 0),
          std::make_pair("orbquest-0005.png", 0)}) {
        SCOPED_TRACE(name);
        const Image picture = readImage(dir.file(name));
        ASSERT_TRUE(picture.loaded());
        EXPECT_EQ(picture.size(), windowPixels());
        const glm::ivec4 middle = picture.at(picture.width / 2, picture.height / 2);
        EXPECT_EQ(middle.r, red);
        EXPECT_NEAR(middle.g, 128, 1);
        EXPECT_NEAR(middle.b, 64, 1);
    }
    EXPECT_EQ(readFile(dir.file("orbquest-0003.png")), "taken by an earlier game");
}

// A folder that cannot take the file: the reason is printed, the number stays free, and the
// next press, once the folder is back, writes normally.
TEST_F(ScreenshotKeyTest, UnwritableFolderSaysWhyAndTheGameGoesOn) {
    const std::string folder = dir.file("gone");
    ScreenshotKey key(folder);
    key.press();
    EXPECT_EQ(drawAndWrite(key, 1.0f), "Failed to write the screenshot " + folder +
                                           "/orbquest-0001.png: No such file or directory\n");
    EXPECT_FALSE(key.pending());

    fs::create_directories(folder);
    key.press();
    EXPECT_EQ(drawAndWrite(key, 1.0f), "Screenshot saved as " + folder + "/orbquest-0001.png\n");
    EXPECT_EQ(middleOf(folder + "/orbquest-0001.png").r, 255);
}

TEST_F(ScreenshotKeyTest, PressesLeftWhenTheGameEndsAreReported) {
    ScreenshotKey key(dir.path());
    key.press();
    key.press();
    const std::string output = printedBy([&] { key.dropPending(); });
    EXPECT_EQ(countOccurrences(output,
                               "Screenshot not saved: the game ended before the next "
                               "frame was drawn\n"),
              2u);
    EXPECT_FALSE(key.pending());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(ScreenshotNames, FourDigitsThenAsManyAsNeeded) {
    EXPECT_EQ(screenshotFileName(1), "orbquest-0001.png");
    EXPECT_EQ(screenshotFileName(42), "orbquest-0042.png");
    EXPECT_EQ(screenshotFileName(9999), "orbquest-9999.png");
    EXPECT_EQ(screenshotFileName(10000), "orbquest-10000.png");
}

}  // namespace
