#include "app/Replay.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace {

TEST(Replay, HandWrittenRunsExpandIntoFrames) {
    const ReplayScript script = parseReplay(
        "# warm up\n"
        "frames 2 dt 1/60\n"
        "\n"
        "frames 3 dt 0.05 keys W space cursor 10 -4.5   # hold W and Space\n"
        "dt 0.1 press F3 release F3\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.frames.size(), 3u);
    EXPECT_EQ(script.frames[0].repeat, 2);
    EXPECT_FLOAT_EQ(script.frames[0].frameTime, 1.0f / 60.0f);
    EXPECT_TRUE(script.frames[0].keysDown.empty());
    EXPECT_EQ(script.frames[1].repeat, 3);
    EXPECT_EQ(script.frames[1].keysDown, (std::vector<int>{GLFW_KEY_W, GLFW_KEY_SPACE}));
    EXPECT_EQ(script.frames[1].cursorX, 10.0);
    EXPECT_EQ(script.frames[1].cursorY, -4.5);
    // Without "cursor" a line keeps the previous position; without "keys" nothing is down.
    EXPECT_EQ(script.frames[2].repeat, 1);
    EXPECT_EQ(script.frames[2].cursorX, 10.0);
    EXPECT_TRUE(script.frames[2].keysDown.empty());
    ASSERT_EQ(script.frames[2].events.size(), 2u);
    EXPECT_EQ(script.frames[2].events[0].key, GLFW_KEY_F3);
    EXPECT_EQ(script.frames[2].events[0].action, GLFW_PRESS);
    EXPECT_EQ(script.frames[2].events[1].action, GLFW_RELEASE);
}

struct MalformedCase {
    const char* text;
    const char* error;
};

TEST(Replay, MalformedLinesAreRefusedWithTheLineAndTheReason) {
    const MalformedCase cases[] = {
        {"frames 2\n", "line 1: missing \"dt\" (the frame time in seconds)"},
        {"dt 1/60\njump 3 dt 1/60\n", "line 2: unknown word \"jump\""},
        {"dt 0\n", "line 1: \"dt\" needs a frame time in seconds above 0 and up to 10 (e.g. 1/60)"},
        {"dt 1/0\n", "line 1: \"dt\" needs a frame time in seconds above 0 and up to 10 (e.g. 1/60)"},
        {"dt fast\n", "line 1: \"dt\" needs a frame time in seconds above 0 and up to 10 (e.g. 1/60)"},
        {"frames 0 dt 1\n", "line 1: \"frames\" needs a whole number of frames from 1"},
        {"frames 2.5 dt 1\n", "line 1: \"frames\" needs a whole number of frames from 1"},
        {"dt 1 keys W BANANA\n", "line 1: unknown key \"BANANA\""},
        {"dt 1 cursor 4\n", "line 1: \"cursor\" needs two numbers, x and y in pixels"},
        {"\n\ndt 1 press\n", "line 3: \"press\" needs a key name"},
        {"dt 1 release F99\n", "line 1: \"release\" needs a key name, not \"F99\""},
    };
    for (const MalformedCase& c : cases) {
        const ReplayScript script = parseReplay(c.text);
        EXPECT_EQ(script.error, c.error) << c.text;
        EXPECT_TRUE(script.frames.empty()) << c.text;
    }
}

TEST(Replay, RecordedFramesRoundTripBitForBit) {
    ReplayFrame frame;
    frame.repeat = 3;
    frame.frameTime = 0.0166893005f;
    frame.keysDown = {GLFW_KEY_A, GLFW_KEY_F2, GLFW_KEY_ESCAPE, GLFW_KEY_KP_5};
    frame.cursorX = 1023.123456789;
    frame.cursorY = -7.25;
    frame.events = {{GLFW_KEY_F7, GLFW_PRESS}, {GLFW_KEY_F7, GLFW_REPEAT}, {GLFW_KEY_Q, GLFW_RELEASE}};

    const ReplayScript script = parseReplay(formatReplayFrame(frame) + "\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.frames.size(), 1u);
    const ReplayFrame& back = script.frames[0];
    EXPECT_EQ(back.repeat, 3);
    EXPECT_EQ(back.frameTime, frame.frameTime);
    EXPECT_EQ(back.keysDown, frame.keysDown);
    EXPECT_EQ(back.cursorX, frame.cursorX);
    EXPECT_EQ(back.cursorY, frame.cursorY);
    ASSERT_EQ(back.events.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.events[i].key, frame.events[i].key);
        EXPECT_EQ(back.events[i].action, frame.events[i].action);
    }
}

TEST(Replay, LongRunsStayOneEntry) {
    const ReplayScript script = parseReplay("frames 10000000 dt 1/60 keys W\n");
    ASSERT_EQ(script.frames.size(), 1u);
    EXPECT_EQ(script.frames[0].repeat, 10000000);
}

TEST(Replay, EveryKeyHasANameThatReadsBack) {
    for (int key : recordableKeys()) {
        EXPECT_EQ(keyFromName(keyName(key)), key) << keyName(key);
    }
    EXPECT_EQ(keyName(GLFW_KEY_SPACE), "SPACE");
    EXPECT_EQ(keyName(GLFW_KEY_F12), "F12");
    EXPECT_EQ(keyFromName("w"), GLFW_KEY_W);
    EXPECT_EQ(keyFromName("escape"), GLFW_KEY_ESCAPE);
    EXPECT_EQ(keyFromName("KEY5"), -1);  // below the first key code
}

}  // namespace
