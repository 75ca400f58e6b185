#include <gtest/gtest.h>

#include <string>

#include "hud/GameTimeText.h"
#include "hud/HudLayout.h"
#include "hud/Utf8.h"

namespace {

TEST(GameTimeText, MinutesSecondsAndTenthsRoundedToTheNearestTenth) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0:00.0"},    {0.04, "0:00.0"},
        {0.05, "0:00.1"},   {9.95, "0:10.0"},
        {59.96, "1:00.0"},  {162.375, "2:42.4"},
        {599.94, "9:59.9"}, {3600.0, "60:00.0"},
        {-2.0, "0:00.0"},   {1e300, "16666666666:40.0"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(formatGameTime(seconds), text) << seconds;
    }
    EXPECT_EQ(formatGameTime(0.0 / 0.0), "0:00.0");
}

// Every character as wide as 0.6 em, lines reaching 0.9 em up and 0.25 down.
class EvenMetrics : public TextMetrics {
  public:
    float width(const std::string& text, float size) const override {
        return 0.6f * size * static_cast<float>(decodeUtf8(text).size());
    }
    float ascent(float size) const override { return 0.9f * size; }
    float descent(float size) const override { return 0.25f * size; }
};

struct WindowSize {
    int width;
    int height;
};

class HudLayout : public testing::TestWithParam<WindowSize> {};

// From a stamp-sized window to 4K every line lies inside the window.
TEST_P(HudLayout, EveryLineFitsTheWindow) {
    const auto [width, height] = GetParam();
    const EvenMetrics metrics;
    HudState state;
    state.targetsTotal = 178;
    state.bestTime = 100.0f;
    state.helpVisible = true;
    for (bool ended : {false, true}) {
        state.endLines.clear();
        if (ended) {
            state.endLines = {"Congratulations, you won the game!", "You lost! Try again!"};
            state.resultLine = "Your time 2:42.4, a new best time";
        }
        for (const TextRun& run : layoutHud(state, width, height, metrics)) {
            const float size = static_cast<float>(run.pixelSize);
            EXPECT_GE(run.x, 0.0f) << run.text;
            EXPECT_LE(run.x + metrics.width(run.text, size), static_cast<float>(width)) << run.text;
            EXPECT_GE(run.y - metrics.ascent(size), 0.0f) << run.text;
            EXPECT_LE(run.y + metrics.descent(size), static_cast<float>(height)) << run.text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, HudLayout,
                         testing::Values(WindowSize{320, 240}, WindowSize{1024, 768},
                                         WindowSize{3840, 2160}, WindowSize{2000, 200}));

TEST(HudLayoutText, TheKeyLineTakesTwoLinesWhereOneWouldBeTooSmallToRead) {
    const EvenMetrics metrics;
    HudState state;
    state.helpVisible = true;
    auto keyLines = [&](int width, int height) {
        int lines = 0;
        for (const TextRun& run : layoutHud(state, width, height, metrics)) {
            lines += run.text.find("P: pause") != std::string::npos ||
                     run.text.find("F1: help") != std::string::npos;
        }
        return lines;
    };
    EXPECT_EQ(keyLines(1920, 1080), 1);
    EXPECT_EQ(keyLines(320, 240), 2);
    state.helpVisible = false;
    EXPECT_EQ(keyLines(1920, 1080), 0);
    state.paused = true;
    EXPECT_EQ(keyLines(1920, 1080), 1) << "a paused game shows its keys";
}

}  // namespace
