#include "input/Replay.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "input/ReplayFile.h"
#include "support/TempDir.h"

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

// The window losing the focus is an event of its own, in its place among the key events.
TEST(Replay, UnfocusIsAnEventInItsPlace) {
    const ReplayScript script = parseReplay("dt 1/60 keys W unfocus release W press P\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.frames.size(), 1u);
    EXPECT_EQ(script.frames[0].keysDown, std::vector<int>{GLFW_KEY_W});
    ASSERT_EQ(script.frames[0].events.size(), 3u);
    EXPECT_EQ(script.frames[0].events[0].key, kFocusLost);
    EXPECT_EQ(script.frames[0].events[1].key, GLFW_KEY_W);
    EXPECT_EQ(script.frames[0].events[2].key, GLFW_KEY_P);
}

struct MalformedCase {
    std::string text;
    std::string error;
};

const char* const kFrameTimeRange =
    "\"dt\" needs a frame time in seconds from 1e-06 up to 10 (e.g. 1/60)";
const char* const kFramesRange = "\"frames\" needs a whole number of frames from 1 to 1000000";
const char* const kCursorRange =
    "\"cursor\" needs two numbers, x and y in pixels from -1e+09 to 1e+09";

std::string operator*(const std::string& text, size_t times) {
    std::string repeated;
    for (size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

const std::string kPadWords =
    "\"pad\" needs the sticks' LX LY RX RY from -1 to 1 and the buttons down as hexadecimal "
    "bits from 0 to 7fff";

// A replay names its level on a line of its own before its frames; without one it is the road's.
TEST(Replay, TheLevelLineNamesTheLevel) {
    const ReplayScript named = parseReplay("# on the gaps\nlevel gaps\n\ndt 1/60 keys W\n");
    ASSERT_EQ(named.error, "");
    EXPECT_EQ(named.level, "gaps");
    EXPECT_EQ(named.frames.size(), 1u);
    EXPECT_EQ(parseReplay(formatReplayLevel("gaps") + "\ndt 1\n").level, "gaps");
    EXPECT_EQ(parseReplay("dt 1/60 keys W\n").level, "");
    EXPECT_EQ(parseReplay("level gaps\n").error, "no frames: every line is blank or a comment");
}

TEST(Replay, MalformedLinesAreRefusedWithTheLineAndTheReason) {
    const std::string kLevelWord =
        "\"level\" needs one level's name of at most 64 characters, alone on its line";
    const MalformedCase cases[] = {
        {"frames 2\n", "line 1: missing \"dt\" (the frame time in seconds)"},
        {"dt 1/60\njump 3 dt 1/60\n", "line 2: unknown word \"jump\""},
        {"dt 0\n", kFrameTimeRange},
        {"dt 1/0\n", kFrameTimeRange},
        {"dt fast\n", kFrameTimeRange},
        {"dt 10.001\n", kFrameTimeRange},
        {"frames 0 dt 1\n", kFramesRange},
        {"frames 2.5 dt 1\n", kFramesRange},
        {"frames 1000001 dt 1\n", kFramesRange},
        {"dt 1 keys W BANANA\n", "line 1: unknown key \"BANANA\""},
        {"dt 1 cursor 4\n", kCursorRange},
        {"\n\ndt 1 press\n", "line 3: \"press\" needs a key name"},
        {"dt 1 release F99\n", "line 1: \"release\" needs a key name, not \"F99\""},
        {"dt 1\ndt 1 unfocus W\n", "line 2: unknown word \"W\""},
        {"dt 1\ndt 1\ndt 1 pad 0 0 0 0\n", "line 3: " + kPadWords},
        {"dt 1 pad 0 0 1.5 0 0\n", kPadWords},
        {"dt 1 pad 0 nan 0 0 0\n", kPadWords},
        {"dt 1 pad 0 0 0 0 8000\n", kPadWords},
        {"dt 1 pad 0 0 0 0 0x1\n", kPadWords},
        {"dt 1 pad 0 0 0 0 10000\n", kPadWords},
        {"dt 1 pad 0 0 0 0 1 2\n", "unknown word \"2\""},
        {"level\ndt 1\n", kLevelWord},
        {"level " + std::string(kMaxReplayLevelName + 1, 'g') + "\ndt 1\n", kLevelWord},
        {"dt 1\nlevel gaps\n", "line 2: \"level\" comes once, before the first frame"},
        {"dt 1 level gaps\n", "unknown word \"level\""},
    };
    for (const MalformedCase& c : cases) {
        const ReplayScript script = parseReplay(c.text);
        const std::string error = c.error;
        const std::string expected = error.rfind("line ", 0) == 0 ? error : "line 1: " + error;
        EXPECT_EQ(script.error, expected) << c.text;
        EXPECT_TRUE(script.frames.empty()) << c.text;
    }
}

// Files that once crashed the game, froze it, or played something other than what they say.
TEST(Replay, HostileFilesAreRefusedWithTheirLimit) {
    const std::string clock = "its frame time no longer moves the game's clock, which would reach ";
    const std::string overlong(kMaxReplayLineLength + 1, ' ');
    const std::string cases[][2] = {
        {"dt 1/60 keys F99999999999\n", "line 1: unknown key \"F99999999999\""},
        {"dt 1/60 press KEY99999999999\n",
         "line 1: \"press\" needs a key name, not \"KEY99999999999\""},
        {"dt 1/60 cursor 1e300 0\n", std::string("line 1: ") + kCursorRange},
        {"dt 1/60 cursor 0 nan\n", std::string("line 1: ") + kCursorRange},
        {"dt 1e-50\n", std::string("line 1: ") + kFrameTimeRange},
        // A positive frame time that the single-precision clock cannot add any more.
        {"frames 1000000 dt 0.14\ndt 1/60\n",
         "line 2: " + clock + "140000 s (the clock counts in single precision)"},
        {"", "no frames: every line is blank or a comment"},
        {"# nothing but comments\n\n   \t\n", "no frames: every line is blank or a comment"},
        {"dt 1\r\nwalk\r\n", "line 2: unknown word \"walk\""},
        {"dt 1\rdt 1\rdt 0\r", std::string("line 3: ") + kFrameTimeRange},
        {"dt 1 \x01\xff", "line 1: unknown word \"\\x01\\xFF\""},
        {"dt 1 keys " + std::string(100, 'Q'),
         "line 1: unknown key \"" + std::string(40, 'Q') + "...\""},
        {overlong + "\n", "line 1: longer than the limit of 32768 characters"},
        {"dt 1" + std::string(" press W") * (kMaxEventsPerLine + 1),
         "line 1: more than 1000 key events on one line"},
        {"dt 1" + std::string(" press W") * (kMaxEventsPerLine - 1) + " unfocus unfocus",
         "line 1: more than 1000 key events on one line"},
        {std::string(kMaxReplayBytes + 1, '\n'), "larger than the limit of 16777216 bytes"},
    };
    for (const auto& [text, error] : cases) {
        const ReplayScript script = parseReplay(text);
        EXPECT_EQ(script.error, error) << text.substr(0, 80);
        EXPECT_TRUE(script.frames.empty());
    }
}

TEST(Replay, LinesEndInLfCrLfOrCr) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const std::string text =
            std::string("dt 1/60") + end + "dt 1/60 keys W" + end + end + "dt 1/60 keys A";
        const ReplayScript script = parseReplay(text);
        ASSERT_EQ(script.error, "");
        ASSERT_EQ(script.frames.size(), 3u);
        EXPECT_TRUE(script.frames[0].keysDown.empty());
        EXPECT_EQ(script.frames[1].keysDown, std::vector<int>{GLFW_KEY_W});
        EXPECT_EQ(script.frames[2].keysDown, std::vector<int>{GLFW_KEY_A});
    }
}

TEST(Replay, LimitsThemselvesAreAccepted) {
    const ReplayScript script =
        parseReplay("dt 0.000001" + std::string(" repeat SPACE") * kMaxEventsPerLine +
                    "\nframes 1000000 dt 0.01\ndt 10 cursor -1e9 1e9\n");
    ASSERT_EQ(script.error, "");
    EXPECT_EQ(script.frames.size(), 3u);
}

// The longest line a recorder can write: every recordable key held and a full frame of events.
TEST(Replay, TheLongestRecordableFrameIsWithinTheLimits) {
    ReplayFrame frame;
    frame.repeat = kMaxFramesPerLine;
    frame.frameTime = static_cast<float>(kMaxFrameTime);
    frame.keysDown = recordableKeys();
    frame.cursorX = -kMaxCursor;
    frame.cursorY = -0.1234567890123456789;
    frame.events.assign(kMaxEventsPerLine, {GLFW_KEY_RIGHT_CONTROL, GLFW_RELEASE});
    const std::string line = formatReplayFrame(frame);
    EXPECT_LE(line.size(), kMaxReplayLineLength);
    const ReplayScript script = parseReplay(line);
    ASSERT_EQ(script.error, "");
    EXPECT_EQ(script.frames[0].events.size(), kMaxEventsPerLine);
}

TEST(Replay, RecordedFramesRoundTripBitForBit) {
    ReplayFrame frame;
    frame.repeat = 3;
    frame.frameTime = 0.0166893005f;
    frame.keysDown = {GLFW_KEY_A, GLFW_KEY_F2, GLFW_KEY_ESCAPE, GLFW_KEY_KP_5};
    frame.cursorX = 1023.123456789;
    frame.cursorY = -7.25;
    frame.events = {{GLFW_KEY_F7, GLFW_PRESS},
                    {GLFW_KEY_F7, GLFW_REPEAT},
                    {kFocusLost, GLFW_RELEASE},
                    {GLFW_KEY_Q, GLFW_RELEASE}};

    const ReplayScript script = parseReplay(formatReplayFrame(frame) + "\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.frames.size(), 1u);
    const ReplayFrame& back = script.frames[0];
    EXPECT_EQ(back.repeat, 3);
    EXPECT_EQ(back.frameTime, frame.frameTime);
    EXPECT_EQ(back.keysDown, frame.keysDown);
    EXPECT_EQ(back.cursorX, frame.cursorX);
    EXPECT_EQ(back.cursorY, frame.cursorY);
    ASSERT_EQ(back.events.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(back.events[i].key, frame.events[i].key);
        EXPECT_EQ(back.events[i].action, frame.events[i].action);
    }
}

// A line without "pad" keeps the pad the line before left, and the recorder writes it only
// when it changes.
TEST(Replay, ThePadRoundTripsBitForBitAndIsWrittenOnlyWhenItChanges) {
    ReplayFrame still;
    still.frameTime = 1.0f / 60.0f;
    ReplayFrame moved = still;
    moved.pad = {0.123456789f, -1.0f, 1.0f, -0.000123f, (1u << GLFW_GAMEPAD_BUTTON_A) | 0x4000u};
    ReplayFrame held = moved;
    ReplayFrame released = still;

    const std::string first = formatReplayFrame(still);
    const std::string second = formatReplayFrame(moved, still.pad);
    const std::string third = formatReplayFrame(held, moved.pad);
    const std::string fourth = formatReplayFrame(released, held.pad);
    EXPECT_EQ(first.find("pad"), std::string::npos) << first;
    EXPECT_NE(second.find(" pad "), std::string::npos) << second;
    EXPECT_EQ(third.find("pad"), std::string::npos) << third;
    EXPECT_NE(fourth.find(" pad 0 0 0 0 0"), std::string::npos) << fourth;

    const ReplayScript script =
        parseReplay(first + "\n" + second + "\n" + third + "\n" + fourth + "\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.frames.size(), 4u);
    EXPECT_EQ(script.frames[0].pad, PadState());
    EXPECT_EQ(script.frames[1].pad, moved.pad);
    EXPECT_EQ(script.frames[2].pad, moved.pad);
    EXPECT_EQ(script.frames[3].pad, PadState());
    EXPECT_EQ(parseReplay("dt 1 pad -1 1 0.5 -0.5 7FFF\n").frames.at(0).pad.buttons, 0x7fffu);
}

TEST(Replay, LongRunsStayOneEntry) {
    const ReplayScript script = parseReplay("frames 1000000 dt 1/60 keys W\n");
    ASSERT_EQ(script.frames.size(), 1u);
    EXPECT_EQ(script.frames[0].repeat, 1000000);
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

TEST(ReplayFile, WhatCannotBeAReplayFileIsRefused) {
    TempDir dir;
    dir.write("one.replay", "dt 1/60\n");
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("missing.replay"), "the file cannot be read"},
        {dir.path(), "it is a directory, not a file"},
        {"/dev/zero", "the file is larger than the limit of 16 MiB"},
        {dir.file("one.replay"), ""},
    };
    for (const auto& [path, error] : cases) {
        EXPECT_EQ(loadReplay(path).error, error) << path;
    }
}

}  // namespace
