#include "input/AutopilotInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "base/Random.h"
#include "game/Autopilot.h"
#include "input/RecordingInput.h"
#include "input/ScriptedInput.h"
#include "support/FakeInput.h"
#include "support/GlContext.h"
#include "support/LevelHarness.h"
#include "support/Printed.h"
#include "support/TempDir.h"

namespace {

const char* const kWinReplay = "replays/win-the-level.replay";
const char* const kWonLine = "Congratulations, you won the game!\n";

// Steps the real level frame by frame as the main loop does, without drawing, until the game
// is won or lost, the input runs out, or 'limit' seconds of game time have passed. 'clock'
// sets each frame's time when the input takes it from a LiveInput.
struct Flight {
    LevelHarness harness;
    SceneCreator& level = harness.level();
    long frames = 0;
    float time = 0.0f;

    bool allDone() const {
        return std::all_of(level.targetDone.begin(), level.targetDone.end(),
                           [](bool d) { return d; });
    }
    void fly(
        InputSource& input, float limit, const std::function<bool()>& more = [] { return true; }) {
        while (!allDone() && !level.gameLost && time < limit && more()) {
            const float now = input.frameStartTime(harness.window());
            harness.update(now - time);
            time = now;
            input.pollEvents(harness.window());
            ++frames;
        }
    }
};

// The time the autopilot needs stays well under this in game seconds at any frame rate below.
constexpr float kLimit = 900.0f;

TEST(Autopilot, WinsTheLevelAtAnyFrameRate) {
    const struct {
        const char* name;
        float low;  // frame times drawn evenly from [low, high]
        float high;
    } rates[] = {{"1/60 s", 1.0f / 60.0f, 1.0f / 60.0f},
                 // Mesa's software renderer: 7 to 9 frames a second, unevenly.
                 {"software renderer", 0.06f, 0.18f}};
    for (const auto& rate : rates) {
        SCOPED_TRACE(rate.name);
        LiveInput clock(rate.low);
        AutopilotInput pilot(clock);
        const input::ScopedInstall installed(pilot);
        Flight flight;
        Autopilot autopilot(flight.level);
        pilot.attach([&](float frameTime) {
            return autopilot.decide(frameTime, flight.harness.camera().getFront());
        });
        Pcg32 random(7);
        flight.fly(pilot, kLimit, [&] {
            clock.setFixedFrameTime(static_cast<float>(random.range(rate.low, rate.high)));
            return true;
        });
        EXPECT_TRUE(flight.allDone()) << autopilot.goal() << " is the target it was flying to";
        EXPECT_FALSE(flight.level.gameLost);
        EXPECT_FALSE(flight.level.falling);
        EXPECT_EQ(flight.harness.colourPassOutput(), kWonLine);
    }
}

// The committed replay is the autopilot's flight at its recording frame time: flying again
// writes it again, line for line, and playing it wins the level.
TEST(Autopilot, TheCommittedReplayIsItsWinAndWinsWhenPlayed) {
    const std::string committed = readFile(kWinReplay);
    ASSERT_FALSE(committed.empty()) << kWinReplay;
    {
        TempDir dir;
        LiveInput clock(1.0f / 64.0f);
        AutopilotInput pilot(clock);
        RecordingInput recording(pilot);
        std::string error;
        ASSERT_TRUE(recording.open(dir.file("win.replay"), error)) << error;
        const input::ScopedInstall installed(recording);
        Flight flight;
        pilot.attach(autopilotFlyingBy(flight.level, flight.harness.camera()));
        flight.fly(recording, kLimit);
        ASSERT_TRUE(recording.finish(error)) << error;
        EXPECT_TRUE(flight.allDone());
        EXPECT_TRUE(readFile(dir.file("win.replay")) == committed)
            << "the autopilot no longer flies as recorded; make the replay again (see README)";
    }

    ReplayScript script = parseReplay(committed);
    ASSERT_EQ(script.error, "");
    long scripted = 0;
    for (const ReplayFrame& entry : script.frames) {
        scripted += entry.repeat;
    }
    ScriptedInput replay(std::move(script.frames));
    const input::ScopedInstall installed(replay);
    Flight flight;
    flight.fly(replay, kLimit, [&] { return !replay.finished(); });
    EXPECT_TRUE(flight.allDone());
    EXPECT_FALSE(flight.level.gameLost);
    EXPECT_EQ(flight.frames, scripted) << "won on the replay's last frame";
    EXPECT_EQ(flight.harness.colourPassOutput(), kWonLine);
}

// A stick resting within its dead zone leaves the ball to the autopilot; a stick moved past it
// (or a button) hands the ball over, and from then on the pad is the player's.
TEST(Autopilot, ThePadMovedPastItsDeadZoneHandsTheBallToThePlayer) {
    GLFWwindow* window = sharedGlContext();
    const struct {
        const char* what;
        PadState touch;
    } cases[] = {
        {"left stick", {0.0f, -0.5f, 0.0f, 0.0f, 0}},
        {"right stick", {0.0f, 0.0f, -0.3f, 0.0f, 0}},
        {"Start", {0.0f, 0.0f, 0.0f, 0.0f, 1u << GLFW_GAMEPAD_BUTTON_START}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeInput fake;
        AutopilotInput autopilot(fake);
        autopilot.attach([](float) {
            FlightKeys keys;
            keys.forward = true;
            return std::optional<FlightKeys>(keys);
        });
        input::setPadDeadZone(0.2f);
        fake.pad = {0.15f, -0.19f, 0.1f, 0.0f, 0};  // a worn stick's drift
        autopilot.frameStartTime(window);
        EXPECT_TRUE(autopilot.driving());
        EXPECT_EQ(autopilot.getGamepad(window), PadState()) << "the game reads no pad meanwhile";
        EXPECT_EQ(autopilot.getKey(window, GLFW_KEY_W), GLFW_PRESS);

        fake.pad = c.touch;
        const std::string printed = printedBy([&] { autopilot.frameStartTime(window); });
        EXPECT_FALSE(autopilot.driving());
        EXPECT_EQ(printed, "Autopilot off: the ball is yours\n");
        EXPECT_EQ(autopilot.getGamepad(window), c.touch);
        EXPECT_EQ(autopilot.getKey(window, GLFW_KEY_W), GLFW_RELEASE) << "the keyboard's again";
        input::setPadDeadZone(kDefaultPadDeadZone);
    }
}

}  // namespace
