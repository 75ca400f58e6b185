#include "input/RecordingInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "input/ReplayFile.h"
#include "input/Replay.h"
#include "input/ScriptedInput.h"
#include "support/FakeInput.h"
#include "support/GlContext.h"
#include "support/Printed.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// GLFW's clock is set by hand, so a frame can take no time at all or stall for 100 s.
TEST(RecordingInput, EveryFrameTimeIsOneAReplayTakesAndThatTheGameRanOn) {
    GLFWwindow* window = sharedGlContext();
    TempDir dir;
    const std::string path = dir.file("times.replay");
    const double liveTimes[] = {0.5, 0.5, 100.5, 100.5 + 1.0 / 60.0};
    std::vector<float> gameClock;
    double slack = 0.0;  // the most the clock ran on between setting it and the recorder reading it
    {
        LiveInput live;
        RecordingInput recording(live);
        std::string error;
        ASSERT_TRUE(recording.open(path, error)) << error;
        for (double time : liveTimes) {
            glfwSetTime(time);
            gameClock.push_back(recording.frameStartTime(window));
            slack = std::max(slack, glfwGetTime() - time);
        }
        ASSERT_TRUE(recording.finish(error)) << error;
    }
    ReplayScript script = loadReplay(path);
    ASSERT_EQ(script.error, "") << readFile(path);
    ASSERT_EQ(script.frames.size(), 4u);
    // The clock runs on a little between setting it and the recorder reading it: a loaded
    // machine can stop the test for milliseconds there. 1e-4 s covers the float rounding.
    const double tolerance = slack + 1e-4;
    EXPECT_NEAR(script.frames[0].frameTime, 0.5, tolerance);
    EXPECT_GE(script.frames[1].frameTime, kMinFrameTime);
    EXPECT_LT(script.frames[1].frameTime, tolerance);
    EXPECT_EQ(script.frames[2].frameTime, static_cast<float>(kMaxFrameTime));
    EXPECT_NEAR(script.frames[3].frameTime, 1.0 / 60.0, tolerance);

    ScriptedInput replay(std::move(script.frames));
    for (float clock : gameClock) {
        EXPECT_EQ(replay.frameStartTime(window), clock);
    }
}

TEST(RecordingInput, AFrameBeyondTheLimitsEndsTheRecordingAndTheRestStillPlays) {
    GLFWwindow* window = sharedGlContext();
    TempDir dir;
    const std::string path = dir.file("events.replay");
    const std::string output = printedBy([&] {
        LiveInput live;
        RecordingInput recording(live);
        std::string error;
        ASSERT_TRUE(recording.open(path, error)) << error;
        recording.setKeyCallback(window, [](GLFWwindow*, int, int, int, int) {});
        // The callback GLFW would call with the player's key events.
        const GLFWkeyfun deliver = glfwSetKeyCallback(window, nullptr);
        ASSERT_NE(deliver, nullptr);
        recording.frameStartTime(window);
        deliver(window, GLFW_KEY_W, 0, GLFW_PRESS, 0);
        recording.frameStartTime(window);
        for (size_t i = 0; i <= kMaxEventsPerLine; ++i) {
            deliver(window, GLFW_KEY_W, 0, GLFW_REPEAT, 0);
        }
        recording.frameStartTime(window);
        ASSERT_TRUE(recording.finish(error)) << error;
    });
    EXPECT_EQ(output, "Recording to " + path +
                          " stopped after 1 frames: a frame had more than 1000 key events\n");
    const ReplayScript script = loadReplay(path);
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.frames.size(), 1u);
    ASSERT_EQ(script.frames[0].events.size(), 1u);
    EXPECT_EQ(script.frames[0].events[0].key, GLFW_KEY_W);
}

// A recording that a limit stopped still passes the keys on; once it is gone, the callback it
// left on the window, which outlives it, reaches nothing of it (AddressSanitizer sees any access).
TEST(RecordingInput, AKeyEventAfterAStoppedRecordingIsGoneReachesNothing) {
    GLFWwindow* window = sharedGlContext();
    TempDir dir;
    static size_t heard = 0;
    LiveInput live;
    auto recording = std::make_unique<RecordingInput>(live);
    std::string error;
    ASSERT_TRUE(recording->open(dir.file("stopped.replay"), error)) << error;
    recording->setKeyCallback(window, [](GLFWwindow*, int, int, int, int) { ++heard; });
    const GLFWkeyfun deliver = glfwSetKeyCallback(window, nullptr);  // as GLFW would call it
    recording->frameStartTime(window);
    for (size_t i = 0; i <= kMaxEventsPerLine; ++i) {
        deliver(window, GLFW_KEY_W, 0, GLFW_REPEAT, 0);
    }
    const std::string stopped = printedBy([&] { recording->frameStartTime(window); });
    EXPECT_NE(stopped.find("stopped after 0 frames"), std::string::npos) << stopped;
    recording.reset();
    deliver(window, GLFW_KEY_W, 0, GLFW_PRESS, 0);
    EXPECT_EQ(heard, kMaxEventsPerLine + 1);
}

// A focus loss is recorded among the key events, and the replay tells the game of it at the
// same place while the real window's focus callback stays unset.
TEST(RecordingInput, AFocusLossPlaysBackInItsPlaceAmongTheKeyEvents) {
    GLFWwindow* window = sharedGlContext();
    TempDir dir;
    const std::string path = dir.file("focus.replay");
    static std::vector<std::string> heard;
    const GLFWkeyfun onKey = [](GLFWwindow*, int key, int, int, int) {
        heard.push_back(keyName(key));
    };
    const GLFWwindowfocusfun onFocus = [](GLFWwindow*, int focused) {
        heard.push_back(focused ? "focus" : "unfocus");
    };
    {
        LiveInput live;
        RecordingInput recording(live);
        std::string error;
        ASSERT_TRUE(recording.open(path, error)) << error;
        recording.setKeyCallback(window, onKey);
        recording.setFocusCallback(window, onFocus);
        const GLFWkeyfun deliverKey = glfwSetKeyCallback(window, nullptr);
        const GLFWwindowfocusfun deliverFocus = glfwSetWindowFocusCallback(window, nullptr);
        ASSERT_NE(deliverFocus, nullptr);
        recording.frameStartTime(window);
        deliverKey(window, GLFW_KEY_P, 0, GLFW_PRESS, 0);
        deliverFocus(window, GLFW_FALSE);
        deliverFocus(window, GLFW_TRUE);  // the game does nothing on getting it back
        deliverKey(window, GLFW_KEY_P, 0, GLFW_RELEASE, 0);
        ASSERT_TRUE(recording.finish(error)) << error;
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"P", "unfocus", "focus", "P"}));
    EXPECT_NE(readFile(path).find("press P unfocus release P"), std::string::npos)
        << readFile(path);

    heard.clear();
    ReplayScript script = loadReplay(path);
    ASSERT_EQ(script.error, "");
    ScriptedInput replay(std::move(script.frames));
    replay.setKeyCallback(window, onKey);
    replay.setFocusCallback(window, onFocus);
    EXPECT_EQ(glfwSetWindowFocusCallback(window, nullptr), nullptr)
        << "a replay ignores the real window's focus";
    replay.frameStartTime(window);
    replay.pollEvents(window);
    EXPECT_EQ(heard, (std::vector<std::string>{"P", "unfocus", "P"}));
}

// The pad, frame by frame, plays back as it was recorded; a line notes it only where it changed.
TEST(RecordingInput, ThePadIsWrittenWhenItChangesAndPlaysBackExactly) {
    GLFWwindow* window = sharedGlContext();
    TempDir dir;
    const std::string path = dir.file("pad.replay");
    PadState leaning;
    leaning.leftX = -0.75f;
    leaning.rightY = 0.3333333f;
    PadState lifting = leaning;
    lifting.buttons = 1u << GLFW_GAMEPAD_BUTTON_A;
    const std::vector<PadState> pads = {PadState(), leaning,    leaning,
                                        lifting,    PadState(), PadState()};
    {
        FakeInput fake;
        RecordingInput recording(fake);
        std::string error;
        ASSERT_TRUE(recording.open(path, error)) << error;
        for (const PadState& pad : pads) {
            fake.pad = pad;
            recording.frameStartTime(window);
            EXPECT_EQ(recording.getGamepad(window), pad) << "the game reads the pad passed on";
        }
        ASSERT_TRUE(recording.finish(error)) << error;
    }
    const std::string text = readFile(path);
    EXPECT_EQ(countOccurrences(text, " pad "), 3u) << text;

    ReplayScript script = loadReplay(path);
    ASSERT_EQ(script.error, "") << text;
    ScriptedInput replay(std::move(script.frames));
    for (const PadState& pad : pads) {
        replay.frameStartTime(window);
        EXPECT_EQ(replay.getGamepad(window), pad);
    }
}

}  // namespace
