#include "input/ScriptedInput.h"

#include <gtest/gtest.h>

#include "support/GlContext.h"
#include "support/LevelHarness.h"
#include "support/Matrices.h"
#include "support/TempDir.h"

namespace {

// Steps the level through a replay the way the main loop does, without drawing.
class ReplayPlayback : public testing::Test {
  protected:
    void play(const std::string& replayFile) {
        ReplayScript script = parseReplay(readFile(replayFile));
        ASSERT_EQ(script.error, "") << replayFile;
        for (const ReplayFrame& entry : script.frames) {
            scriptedFrames += static_cast<size_t>(entry.repeat);
        }
        input = std::make_unique<ScriptedInput>(std::move(script.frames));
        installed = std::make_unique<input::ScopedInstall>(*input);
        harness = std::make_unique<LevelHarness>();
        while (!input->finished() && !harness->level().gameLost) {
            step();
        }
    }

    void step() {
        const float now = input::frameStartTime(harness->window());
        harness->update(now - clock);
        clock = now;
        input::pollEvents(harness->window());
        ++frames;
    }

    // Gone in reverse order: the level, then the script's installation, then the script.
    std::unique_ptr<ScriptedInput> input;
    std::unique_ptr<input::ScopedInstall> installed;
    std::unique_ptr<LevelHarness> harness;
    size_t scriptedFrames = 0;
    size_t frames = 0;
    float clock = 0.0f;
};

TEST_F(ReplayPlayback, LandingOnTheFirstFourTargetsTurnsThemGreen) {
    play("replays/land-on-targets.replay");
    const SceneCreator& level = harness->level();
    EXPECT_FALSE(level.gameLost);
    for (size_t i = 0; i < level.targetDone.size(); ++i) {
        EXPECT_EQ(level.targetDone[i], i < 4) << "target " << i;
    }
}

TEST_F(ReplayPlayback, JumpingOntoALooseBlockRestsThere) {
    play("replays/rest-on-block.replay");
    SceneCreator& level = harness->level();
    const int middleLooseBlock = 1;  // (-4.5, 0.7, -16.5), before the first gate
    ASSERT_TRUE(level.onBlock);
    EXPECT_FALSE(level.gameLost);
    EXPECT_GT(level.bankedDescent, 0.0f) << "the rest of the fall is set aside while resting";
    // The ball stays up there: the block keeps its place just under the ball.
    for (int frame = 0; frame < 30; ++frame) {
        harness->update(1.0f / 60.0f);
    }
    const glm::vec3 block = positionOf(level.blocks[middleLooseBlock]);
    EXPECT_TRUE(level.onBlock);
    EXPECT_NEAR(block.y, -0.3f, 0.025f);
    EXPECT_LE(std::abs(block.x), 0.75f);
    EXPECT_LE(std::abs(block.z), 0.75f);
}

TEST_F(ReplayPlayback, RollingBackOffTheRoadFallsAndLoses) {
    play("replays/fall-off-the-back.replay");
    EXPECT_TRUE(harness->level().falling);
    EXPECT_TRUE(harness->level().gameLost);
    // 4.2 s of falling at 1/15 s per frame come after the 11 frames it takes to leave the road.
    EXPECT_NEAR(static_cast<double>(frames), 11 + 4.2 * 15, 3);
}

TEST_F(ReplayPlayback, RollingIntoACryingTargetLoses) {
    play("replays/roll-into-target.replay");
    EXPECT_TRUE(harness->level().gameLost);
    EXPECT_FALSE(harness->level().falling);
    EXPECT_LT(frames, scriptedFrames);
}

std::vector<std::string> deliveredEvents;

void noteEvent(GLFWwindow* window, int key, int, int action, int) {
    // The key state the game's callback would read while it handles the event.
    deliveredEvents.push_back(keyName(key) + (action == GLFW_PRESS ? " press" : " release") +
                              ": W " + std::to_string(input::getKey(window, GLFW_KEY_W)) + ", F2 " +
                              std::to_string(input::getKey(window, GLFW_KEY_F2)));
}

TEST(ScriptedInput, PlaysEachFrameThenCarriesOnLive) {
    GLFWwindow* window = sharedGlContext();
    ScriptedInput script(parseReplay("frames 2 dt 0.25 keys W cursor 5 6\n"
                                     "dt 0.5 keys F2 press W release F2\n")
                             .frames);
    const input::ScopedInstall installed(script);
    deliveredEvents.clear();
    input::setKeyCallback(window, noteEvent);
    double x = 0.0;
    double y = 0.0;

    EXPECT_EQ(input::frameStartTime(window), 0.25f);
    EXPECT_EQ(input::getKey(window, GLFW_KEY_W), GLFW_PRESS);
    input::getCursorPos(window, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(5.0, 6.0));
    input::pollEvents(window);
    EXPECT_EQ(input::frameStartTime(window), 0.5f);
    input::pollEvents(window);
    EXPECT_TRUE(deliveredEvents.empty());

    EXPECT_EQ(input::frameStartTime(window), 1.0f);
    EXPECT_EQ(input::getKey(window, GLFW_KEY_W), GLFW_RELEASE);
    EXPECT_EQ(input::getKey(window, GLFW_KEY_F2), GLFW_PRESS);
    input::pollEvents(window);
    EXPECT_EQ(deliveredEvents,
              (std::vector<std::string>{"W press: W 1, F2 1", "F2 release: W 1, F2 0"}));
    EXPECT_EQ(input::getKey(window, GLFW_KEY_W), GLFW_PRESS) << "state after the poll";
    EXPECT_FALSE(script.finished());

    // Out of frames: the clock and the cursor carry on from where the script left them.
    const double before = glfwGetTime();
    const float live = input::frameStartTime(window);
    const double after = glfwGetTime();
    EXPECT_TRUE(script.finished());
    EXPECT_GE(live, 1.0f);
    EXPECT_LE(live, 1.0f + static_cast<float>(after - before) + 1e-3f);
    input::getCursorPos(window, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(5.0, 6.0));
    glfwSetKeyCallback(window, nullptr);
}

}  // namespace
