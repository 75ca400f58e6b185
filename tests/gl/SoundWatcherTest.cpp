// What the sound watcher decides to play, from the real level driven through the input layer:
// by hand with FakeInput, or by the committed replays.
#include "audio/SoundWatcher.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "input/ScriptedInput.h"
#include "support/FakeInput.h"
#include "support/LevelHarness.h"
#include "support/TempDir.h"

namespace {

constexpr float kDt = 1.0f / 64.0f;

struct HeardCue {
    int frame;
    SoundCue cue;
};

std::vector<Sound> soundsOf(const std::vector<HeardCue>& heard) {
    std::vector<Sound> sounds;
    for (const HeardCue& h : heard) {
        sounds.push_back(h.cue.sound);
    }
    return sounds;
}

// The level stepped by hand, watched after every frame.
struct WatchedLevel {
    FakeInput input;  // installed before the harness, which reads keys through it
    LevelHarness harness;
    SceneCreator& level = harness.level();
    SoundWatcher watcher;
    std::vector<HeardCue> heard;
    SoundDecisions last;
    int frame = 0;

    WatchedLevel() { watcher.start(level); }

    void frames(int count, bool paused = false) {
        for (int i = 0; i < count; ++i) {
            harness.update(kDt);
            look(paused);
        }
    }
    void look(bool paused = false) {
        last = watcher.watch(level, kDt, paused);
        for (const SoundCue& cue : last.cues) {
            heard.push_back({frame, cue});
        }
        ++frame;
    }
};

// A committed replay played as the main loop plays it, watched after every frame.
struct WatchedReplay {
    std::unique_ptr<ScriptedInput> input;
    std::optional<input::ScopedInstall> installed;
    std::unique_ptr<LevelHarness> harness;
    SoundWatcher watcher;
    std::vector<HeardCue> heard;
    std::vector<float> rollingGains;
    std::vector<bool> airborne;

    explicit WatchedReplay(const std::string& file) {
        ReplayScript script = parseReplay(readFile(file));
        EXPECT_EQ(script.error, "") << file;
        input = std::make_unique<ScriptedInput>(std::move(script.frames));
        installed.emplace(*input);
        harness = std::make_unique<LevelHarness>();
        watcher.start(harness->level());
        float clock = 0.0f;
        for (int frame = 0; !input->finished() && !harness->level().gameLost; ++frame) {
            const float now = input::frameStartTime(harness->window());
            harness->update(now - clock);
            const SoundDecisions& decisions = watcher.watch(harness->level(), now - clock, false);
            clock = now;
            for (const SoundCue& cue : decisions.cues) {
                heard.push_back({frame, cue});
            }
            const SceneCreator& level = harness->level();
            rollingGains.push_back(decisions.rollingGain);
            airborne.push_back(level.falling || (!level.onBlock && level.pendingDescent > 0.0f));
            input::pollEvents(harness->window());
        }
    }
};

TEST(ChimePitch, RisesEvenlyToAnOctaveWithTheLastTarget) {
    const struct {
        int done;
        int total;
        float pitch;
    } cases[] = {{0, 178, 1.0f},
                 {1, 178, std::exp2(1.0f / 178)},
                 {89, 178, std::sqrt(2.0f)},
                 {178, 178, 2.0f},
                 {200, 178, 2.0f},
                 {3, 0, 1.0f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(chimePitch(c.done, c.total), c.pitch) << c.done << " of " << c.total;
    }
    EXPECT_LT(chimePitch(100, 178), chimePitch(101, 178));
}

TEST(SoundWatcher, AStillLevelIsSilent) {
    WatchedLevel s;
    s.frames(60);
    EXPECT_TRUE(s.heard.empty());
    EXPECT_EQ(s.last.rollingGain, 0.0f);
}

TEST(SoundWatcher, RollingIsLoudestAtFullSpeedAndSilentWhenStoppedOrPaused) {
    WatchedLevel s;
    s.input.hold(GLFW_KEY_W);
    s.frames(10);
    const float fullGain = s.last.rollingGain;
    EXPECT_GT(fullGain, 0.0f);
    EXPECT_GT(s.last.rollingPitch, 1.0f);
    s.frames(1, true);
    EXPECT_EQ(s.last.rollingGain, 0.0f) << "paused";
    // The camera looking 60 degrees down halves the ball's speed: the loop goes quieter. (Off
    // keeps the direction it is given.)
    s.harness.camera().mode = Off;
    s.harness.camera().front = glm::normalize(glm::vec3(0.0f, -std::sqrt(3.0f), -1.0f));
    s.frames(1);
    EXPECT_NEAR(s.last.rollingGain, fullGain / 2, fullGain * 0.01f);
    s.input.release(GLFW_KEY_W);
    s.frames(1);
    EXPECT_EQ(s.last.rollingGain, 0.0f);
    EXPECT_TRUE(s.heard.empty());
}

TEST(SoundWatcher, SpaceFromRestLiftsOffOnceAndTheAirIsSilent) {
    WatchedLevel s;
    s.input.hold(GLFW_KEY_SPACE);
    s.input.hold(GLFW_KEY_W);
    s.frames(20);
    s.input.release(GLFW_KEY_SPACE);
    s.frames(20);
    EXPECT_EQ(s.last.rollingGain, 0.0f) << "rolling on in the air";
    s.input.hold(GLFW_KEY_SPACE);  // lifting again in the air is no lift-off
    s.frames(5);
    s.input.release(GLFW_KEY_SPACE);
    s.input.release(GLFW_KEY_W);
    ASSERT_EQ(soundsOf(s.heard), std::vector<Sound>{Sound::LiftOff});
    EXPECT_EQ(s.heard[0].frame, 0) << "the lift-off sounds in the frame Space acts";
    EXPECT_FALSE(s.heard[0].cue.positional);
}

TEST(SoundWatcher, LandingOnTheFirstFourTargetsChimesHigherEachTime) {
    WatchedReplay replay("replays/land-on-targets.replay");
    const std::vector<Sound> expected = {Sound::LiftOff, Sound::Chime,   Sound::LiftOff,
                                         Sound::Chime,   Sound::LiftOff, Sound::Chime,
                                         Sound::LiftOff, Sound::Chime};
    ASSERT_EQ(soundsOf(replay.heard), expected);
    int done = 0;
    for (const HeardCue& h : replay.heard) {
        if (h.cue.sound != Sound::Chime) {
            continue;
        }
        ++done;
        SCOPED_TRACE("chime " + std::to_string(done) + " in frame " + std::to_string(h.frame));
        EXPECT_FLOAT_EQ(h.cue.pitch, chimePitch(done, 178));
        // From the target just landed on: under the ball, inside the landing square.
        ASSERT_TRUE(h.cue.positional);
        EXPECT_LE(std::abs(h.cue.position.x), 0.5f);
        EXPECT_LE(std::abs(h.cue.position.z), 0.5f);
        EXPECT_GT(h.cue.position.y, -0.6f);
        EXPECT_LT(h.cue.position.y, -0.15f);
    }
    for (size_t frame = 0; frame < replay.airborne.size(); ++frame) {
        if (replay.airborne[frame]) {
            ASSERT_EQ(replay.rollingGains[frame], 0.0f) << "frame " << frame;
        }
    }
}

TEST(SoundWatcher, ComingToRestOnABlockKnocksOnce) {
    WatchedReplay replay("replays/rest-on-block.replay");
    ASSERT_EQ(soundsOf(replay.heard), (std::vector<Sound>{Sound::LiftOff, Sound::Knock}));
    EXPECT_TRUE(replay.harness->level().onBlock);
}

TEST(SoundWatcher, FallingOffTheRoadSoundsWhenTheFallBeginsAndNotAgainWhenItLoses) {
    WatchedReplay replay("replays/fall-off-the-back.replay");
    ASSERT_TRUE(replay.harness->level().gameLost);
    ASSERT_EQ(soundsOf(replay.heard), std::vector<Sound>{Sound::Fall});
    // The replay runs at 15 frames a second; the fall takes 4.2 s to lose.
    const int framesAfter = static_cast<int>(replay.airborne.size()) - replay.heard[0].frame;
    EXPECT_NEAR(framesAfter, 4.2 * 15, 3) << "the fall sounds as it begins";
}

TEST(SoundWatcher, RunningIntoATargetSoundsFromThatTarget) {
    WatchedReplay replay("replays/roll-into-target.replay");
    ASSERT_TRUE(replay.harness->level().gameLost);
    ASSERT_EQ(soundsOf(replay.heard), std::vector<Sound>{Sound::HitTarget});
    ASSERT_TRUE(replay.heard[0].cue.positional);
    EXPECT_LT(glm::length(replay.heard[0].cue.position), 0.75f);
    EXPECT_EQ(replay.rollingGains.back(), 0.0f) << "the game is over";
}

TEST(SoundWatcher, TheLastTargetChimesAnOctaveUpAndTheWinPlaysTheFanfare) {
    WatchedLevel s;
    std::vector<bool>& done = s.level.targetDone;
    std::fill(done.begin(), done.end() - 1, true);
    s.watcher.start(s.level);  // the game so far, without a sound
    done.back() = true;
    testing::internal::CaptureStdout();
    s.harness.colourPass();  // the winning rule
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Congratulations, you won the game!\n");
    s.look();
    ASSERT_EQ(soundsOf(s.heard), (std::vector<Sound>{Sound::Chime, Sound::Fanfare}));
    EXPECT_FLOAT_EQ(s.heard[0].cue.pitch, 2.0f);
}

}  // namespace
