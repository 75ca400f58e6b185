#include "app/GameFlow.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/MainLoop.h"
#include "app/Settings.h"
#include "game/Autopilot.h"
#include "input/AutopilotInput.h"
#include "input/ScriptedInput.h"
#include "records/BestTimeRecord.h"
#include "records/RecordsText.h"
#include "support/FakeInput.h"
#include "support/LevelHarness.h"
#include "support/LevelSnapshot.h"
#include "support/TempDir.h"

namespace {

// The real main loop on the whole level, through a replay and with the game's flow installed
// as the key callback finds it. The first frame's poll finds no callback yet, so every key
// event comes from frame 2 on.
class GameFlowLoop : public testing::Test {
  protected:
    GameFlowLoop() : flow(nullptr, nullptr, nullptr, true) { gameFlow = &flow; }
    ~GameFlowLoop() override {
        gameFlow = nullptr;
        glfwSetKeyCallback(harness.window(), nullptr);
        glfwSetWindowFocusCallback(harness.window(), nullptr);
        glfwSetFramebufferSizeCallback(harness.window(), nullptr);
    }

    // Returns what the frames printed.
    std::string play(const std::string& replay) {
        ReplayScript script = parseReplay(replay);
        EXPECT_EQ(script.error, "");
        Options options;
        options.fastForward = true;  // only the last frame is drawn; every frame plays
        for (const ReplayFrame& entry : script.frames) {
            options.frames += static_cast<int>(entry.repeat);
        }
        installed.reset();
        input = std::make_unique<ScriptedInput>(std::move(script.frames));
        installed.emplace(*input);
        lastFrameTime = 0.0f;  // each replay's clock starts at 0
        harness.exit.setQuitRequested(false);
        testing::internal::CaptureStdout();
        runMainLoop(harness.window(), options, nullptr, nullptr);
        return testing::internal::GetCapturedStdout();
    }

    LevelHarness harness;
    GameFlow flow;
    std::unique_ptr<ScriptedInput> input;
    std::optional<input::ScopedInstall> installed;
};

TEST_F(GameFlowLoop, PausedNeitherTheLevelNorTheClockNorTheCameraMove) {
    const std::string lines = play(
        "frames 2 dt 1/60 cursor 0 0\n"
        "dt 1/60 press P\n"                        // the level moves in this frame, then pauses
        "frames 60 dt 1/60 keys W cursor 40 10\n"  // held, and the mouse moved, while paused
        "dt 1/60 cursor 40 10 press P\n");         // resumes after this frame
    EXPECT_EQ(lines, "Game paused\nGame resumed\n");
    EXPECT_FALSE(harness.level().paused);
    EXPECT_TRUE(harness.camera().firstMouse) << "the first reading after the pause only seeds";
    harness.camera().firstMouse = false;
    const LevelSnapshot paused(harness);

    harness.renderer.restart();
    play("frames 3 dt 1/60 cursor 0 0\n");
    expectSameLevel(paused, LevelSnapshot(harness));
    EXPECT_FLOAT_EQ(harness.level().gameTime, 3.0f / 60.0f);
}

// Played (four targets done, the camera turned), then R: the level and the camera are as
// fresh, field by field and matrix by matrix, with the same models, buffers and textures.
TEST_F(GameFlowLoop, RestartPutsTheLevelAndTheCameraBackAsAtStartUp) {
    const LevelSnapshot fresh(harness);
    const std::string lines = play(readFile("replays/land-on-targets.replay") +
                                   "frames 30 dt 1/60 keys W cursor 30 5\n"
                                   "dt 1/60 keys W press R\n");
    EXPECT_EQ(lines, "Game restarted\n");
    expectSameLevel(LevelSnapshot(harness), fresh);
}

TEST_F(GameFlowLoop, RestartWhilePausedStartsAGameThatPlays) {
    play("frames 2 dt 1/60\ndt 1/60 press P\ndt 1/60 press R\nframes 5 dt 1/60\n");
    EXPECT_FALSE(harness.level().paused);
    EXPECT_FLOAT_EQ(harness.level().gameTime, 5.0f / 60.0f);
}

// A won game's time against the records, as the end of a game decides it.
TEST(GameFlowRecords, APlayersWinIsStoredWhenItBeatsTheBestAndNoOtherWinIs) {
    const struct {
        const char* name;
        bool playersGame;
        float time;
        const char* line;  // printed, and shown under the won line
        float storedBest;  // the file's afterwards; 0 for no file
    } cases[] = {
        {"a first win", true, 150.25f, "Your time: 2:30.3, a new best time\n", 150.25f},
        {"a slower one", true, 160.0f, "Your time: 2:40.0; the best time is 2:30.3\n", 150.25f},
        {"a faster one", true, 140.0f, "Your time: 2:20.0, a new best time\n", 140.0f},
        {"a replay's", false, 100.0f, "", 140.0f},
    };
    TempDir dir;
    const std::string path = dir.file("orbquest/records.ini");
    LevelHarness harness;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BestTimeRecord records(path);
        records.load();
        GameFlow flow(&records, nullptr, nullptr, c.playersGame);
        gameFlow = &flow;
        SceneCreator& level = harness.level();
        level.reset();
        level.targetDone.assign(level.targetDone.size(), true);
        level.gameTime = c.time;
        testing::internal::CaptureStdout();
        harness.colourPass();  // the winning rule
        flow.afterColourPass();
        flow.afterColourPass();  // decided once per game
        const std::string lines = testing::internal::GetCapturedStdout();
        gameFlow = nullptr;
        EXPECT_EQ(lines, "Congratulations, you won the game!\n" + std::string(c.line));
        EXPECT_EQ(parseRecords(readFile(path)).bestTimes["road"], c.storedBest);
        EXPECT_EQ(flow.displayState().resultLine + (c.playersGame ? "\n" : ""),
                  c.playersGame ? c.line : "Time 1:40.0 (a replay: no record)");
    }
}

// N goes on only after a win; a level that cannot be played leaves the game where it was.
TEST(GameFlowLevels, NAfterAWinBuildsTheNextLevelAndABadOneLeavesTheGameAsItWas) {
    LevelHarness harness;
    GameFlow flow(nullptr, nullptr, nullptr, true);
    gameFlow = &flow;
    harness.level().cullingEnabled = true;
    testing::internal::CaptureStdout();
    flow.playNextLevel(harness.window());
    harness.level().targetDone.assign(harness.level().targetDone.size(), true);
    harness.colourPass();
    EXPECT_TRUE(flow.displayState().nextLevel);
    flow.playNextLevel(harness.window());
    const SceneCreator* roll = &harness.level();
    EXPECT_FALSE(flow.playLevel(harness.window(), "no-such-level.toml"));
    const std::string lines = testing::internal::GetCapturedStdout();
    gameFlow = nullptr;

    EXPECT_EQ(lines,
              "Congratulations, you won the game!\nLevel roll: Roll and turn\n"
              "Level file no-such-level.toml: there is no such file\n");
    EXPECT_EQ(&harness.level(), roll);
    EXPECT_EQ(flow.currentLevel().name, "roll");
    EXPECT_FALSE(harness.level().gameWon);
    EXPECT_TRUE(harness.level().cullingEnabled) << "the render options stay";
    EXPECT_TRUE(flow.levelList().at(1).current);
}

TEST(GameFlowAutopilot, HoldsNothingWhilePausedAndFliesOnAfterARestart) {
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
    EXPECT_EQ(pilot.framesFlown(), 1) << "paused frames are not flown";
    GameFlow flow(nullptr, &pilot, nullptr, true);
    gameFlow = &flow;
    testing::internal::CaptureStdout();
    flow.restart(harness.window());
    testing::internal::GetCapturedStdout();
    gameFlow = nullptr;
    EXPECT_EQ(pilot.framesFlown(), 0) << "counted from the restart";
    pilot.frameStartTime(harness.window());
    EXPECT_EQ(pilot.framesFlown(), 1);
    EXPECT_TRUE(pilot.driving());
}

}  // namespace
