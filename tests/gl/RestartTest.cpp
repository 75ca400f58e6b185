#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <memory>
#include <string>
#include <vector>

#include "game/Autopilot.h"
#include "input/AutopilotInput.h"
#include "input/ScriptedInput.h"
#include "render/Texture.h"
#include "support/FakeInput.h"
#include "support/LevelHarness.h"
#include "support/LevelSnapshot.h"
#include "support/TempDir.h"

namespace {

// Plays a replay through the level as the main loop steps it, without drawing.
void play(LevelHarness& harness, const std::string& replayFile, float& clock) {
    ReplayScript script = parseReplay(readFile(replayFile));
    ASSERT_EQ(script.error, "");
    long frames = 0;
    for (const ReplayFrame& entry : script.frames) {
        frames += entry.repeat;
    }
    ScriptedInput input(std::move(script.frames));
    input::install(&input);
    for (; frames > 0 && !harness.level().gameLost; --frames) {
        const float now = input::frameStartTime(harness.window());
        harness.update(now - clock);
        clock = now;
        input::pollEvents(harness.window());
    }
    input::install(nullptr);
}

TEST(Restart, APlayedLevelResetInPlaceEqualsAFreshOne) {
    LevelHarness harness;
    const LevelSnapshot fresh(harness);
    float clock = 0.0f;
    play(harness, "replays/land-on-targets.replay", clock);
    ASSERT_TRUE(harness.level().targetDone[0]) << "the replay played";
    harness.level().paused = true;
    harness.level().cullingEnabled = true;  // a render option the player chose

    harness.renderer.restart();
    expectSameLevel(LevelSnapshot(harness), fresh);
    EXPECT_TRUE(harness.level().cullingEnabled) << "the player's render options stay";
}

// A second game after a restart plays exactly as the first.
TEST(Restart, TheSameInputAfterARestartPlaysTheSameGame) {
    LevelHarness harness;
    float clock = 0.0f;
    play(harness, "replays/rest-on-block.replay", clock);
    const LevelSnapshot first(harness);
    harness.renderer.restart();
    const float firstGameEnd = clock;
    clock = 0.0f;
    play(harness, "replays/rest-on-block.replay", clock);
    EXPECT_EQ(clock, firstGameEnd);
    expectSameLevel(LevelSnapshot(harness), first);
}

TEST(Restart, TheCameraKeepsTheModeThePlayerChose) {
    Camera camera;
    camera.mode = FreeMovable;
    camera.yaw = 12.0f;
    camera.position = glm::vec3(4.0f, 5.0f, 6.0f);
    camera.firstMouse = false;
    camera.reset();
    Camera fresh;
    EXPECT_EQ(camera.mode, FreeMovable);
    EXPECT_EQ(camera.yaw, fresh.yaw);
    EXPECT_EQ(camera.position, fresh.position);
    EXPECT_TRUE(camera.firstMouse) << "the next cursor reading only seeds, the view does not jump";
}

TEST(Restart, TheAutopilotHoldsNothingAndCountsNothingWhilePaused) {
    LevelHarness harness;
    FakeInput clock;
    AutopilotInput pilot(clock);
    pilot.attach(autopilotFlyingBy(harness.level(), harness.camera()));
    pilot.frameStartTime(harness.window());
    EXPECT_EQ(pilot.framesFlown(), 1);
    harness.level().paused = true;
    for (int frame = 0; frame < 3; ++frame) {
        pilot.frameStartTime(harness.window());
        for (int key : {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D, GLFW_KEY_SPACE}) {
            EXPECT_EQ(pilot.getKey(harness.window(), key), GLFW_RELEASE) << key;
        }
    }
    EXPECT_EQ(pilot.framesFlown(), 1);
    harness.level().paused = false;
    pilot.restart(autopilotFlyingBy(harness.level(), harness.camera()));
    EXPECT_EQ(pilot.framesFlown(), 0);
    pilot.frameStartTime(harness.window());
    EXPECT_EQ(pilot.framesFlown(), 1);
    EXPECT_TRUE(pilot.driving()) << "it flies on after a restart";
}

}  // namespace
