#include "hud/HudLayout.h"

#include <algorithm>
#include <cmath>

#include "game/GameRules.h"
#include "hud/GameTimeText.h"

namespace {

constexpr std::uint32_t kWhite = 0xffffffff;
constexpr std::uint32_t kWonGreen = 0xb4ff9cff;
constexpr std::uint32_t kLostRed = 0xff9a86ff;
constexpr std::uint32_t kBestGold = 0xffe070ff;

constexpr float kMarginOfSmall = 0.6f;    // the margin to the window's edges, in small text
constexpr float kLineStep = 1.25f;        // baseline to baseline, in the lines' size
constexpr float kFitShare = 0.94f;        // of the window's width a line may take
constexpr float kPausedBaseline = 0.47f;  // of the height
constexpr float kEndBaseline = 0.40f;

const char* const kKeyParts[] = {"W A S D: roll", "Space: lift",     "mouse: camera", "P: pause",
                                 "R: restart",    "H: hide display", "F1: help"};
const char* const kKeySeparator = "  \u00b7  ";
const char* const kPlayOnLine = "P: play on";
const char* const kPlayAgainLine = "R: play again";
const char* const kNextLevelPart = "N: next level";

std::string joinKeys(size_t from, size_t to) {
    std::string line;
    for (size_t i = from; i < to; ++i) {
        line += (i > from ? kKeySeparator : "") + std::string(kKeyParts[i]);
    }
    return line;
}

struct Frame {
    int width;
    int height;
    const TextMetrics& metrics;
    std::vector<TextRun>& runs;

    // The size, no larger than 'size', at which 'text' fits the window's width.
    int fitted(const std::string& text, int size) const {
        const float maxWidth = kFitShare * static_cast<float>(width);
        const float textWidth = metrics.width(text, static_cast<float>(size));
        if (textWidth <= maxWidth) {
            return size;
        }
        return std::max(
            1, static_cast<int>(std::floor(static_cast<float>(size) * maxWidth / textWidth)));
    }

    void left(const std::string& text, int size, float x, float baseline, std::uint32_t colour) {
        runs.push_back({text, size, std::round(x), std::round(baseline), colour});
    }

    void centred(const std::string& text, int size, float baseline, std::uint32_t colour) {
        const float textWidth = metrics.width(text, static_cast<float>(size));
        left(text, size, (static_cast<float>(width) - textWidth) / 2.0f, baseline, colour);
    }
};

int scaled(float share, int height, int smallest) {
    return std::max(smallest, static_cast<int>(std::lround(share * static_cast<float>(height))));
}

void layoutCorner(Frame& frame, const HudState& state, int small, float margin) {
    float baseline = margin + frame.metrics.ascent(static_cast<float>(small));
    const float step = kLineStep * static_cast<float>(small);
    const std::string targets =
        std::to_string(state.targetsDone) + " / " + std::to_string(state.targetsTotal) + " targets";
    frame.left(targets, small, margin, baseline, kWhite);
    frame.left(formatGameTime(state.gameTime), small, margin, baseline += step, kWhite);
    if (state.bestTime) {
        frame.left("best " + formatGameTime(*state.bestTime), small, margin, baseline += step,
                   kBestGold);
    }
}

void layoutCentre(Frame& frame, const HudState& state, int small, int large) {
    const float height = static_cast<float>(frame.height);
    if (!state.endLines.empty()) {
        float baseline = kEndBaseline * height;
        for (const std::string& line : state.endLines) {
            const std::uint32_t colour = line == rules::kWonLine ? kWonGreen : kLostRed;
            frame.centred(line, frame.fitted(line, large), baseline, colour);
            baseline += kLineStep * static_cast<float>(large);
        }
        if (!state.resultLine.empty()) {
            frame.centred(state.resultLine, frame.fitted(state.resultLine, small), baseline,
                          state.newBest ? kBestGold : kWhite);
            baseline += kLineStep * static_cast<float>(small);
        }
        const std::string again = state.nextLevel
                                      ? std::string(kPlayAgainLine) + kKeySeparator + kNextLevelPart
                                      : std::string(kPlayAgainLine);
        frame.centred(again, frame.fitted(again, small), baseline, kWhite);
    } else if (state.paused) {
        const float baseline = kPausedBaseline * height;
        frame.centred("Paused", large, baseline, kWhite);
        frame.centred(kPlayOnLine, small, baseline + kLineStep * static_cast<float>(large), kWhite);
    }
}

// One line when it can be read at the size that fits, else two.
void layoutKeys(Frame& frame, int small, float margin) {
    const size_t parts = std::size(kKeyParts);
    std::vector<std::string> lines = {joinKeys(0, parts)};
    if (frame.fitted(lines[0], small) < kMinKeyLinePixels) {
        lines = {joinKeys(0, (parts + 1) / 2), joinKeys((parts + 1) / 2, parts)};
    }
    int size = small;
    for (const std::string& line : lines) {
        size = std::min(size, frame.fitted(line, small));
    }
    const float step = kLineStep * static_cast<float>(size);
    float baseline = static_cast<float>(frame.height) - margin -
                     frame.metrics.descent(static_cast<float>(size)) -
                     step * static_cast<float>(lines.size() - 1);
    for (const std::string& line : lines) {
        frame.centred(line, size, baseline, kWhite);
        baseline += step;
    }
}

}  // namespace

std::vector<TextRun> layoutHud(const HudState& state, int width, int height,
                               const TextMetrics& metrics) {
    std::vector<TextRun> runs;
    if (width <= 0 || height <= 0) {
        return runs;
    }
    Frame frame{width, height, metrics, runs};
    const int small = scaled(kSmallTextHeight, height, kMinTextPixels);
    const int large = scaled(kLargeTextHeight, height, kMinTextPixels);
    const float margin = kMarginOfSmall * static_cast<float>(small);
    layoutCorner(frame, state, small, margin);
    layoutCentre(frame, state, small, large);
    if ((state.helpVisible || state.paused) && state.endLines.empty()) {
        layoutKeys(frame, small, margin);
    }
    return runs;
}

std::string keyHelpLine() {
    return joinKeys(0, std::size(kKeyParts));
}
