#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hud/HudState.h"
#include "hud/TextMetrics.h"

// One line of text placed on the screen.
struct TextRun {
    std::string text;      // UTF-8
    int pixelSize;         // the font's em in pixels, as it is rasterised and drawn
    float x;               // the pen's start: left end of the baseline, pixels from the left
    float y;               // and from the top
    std::uint32_t colour;  // 0xRRGGBBAA of the fill; the outline is the same for every run
};

// Sizes follow the window's height, so the display looks the same from 320 x 240 to
// 3840 x 2160; a line too wide for the window is set smaller until it fits.
constexpr float kSmallTextHeight = 0.042f;  // of the window's height: the corner and key lines
constexpr float kLargeTextHeight = 0.085f;  // the centre's lines
constexpr int kMinTextPixels = 12;          // the corner lines never get smaller than this
constexpr int kMinKeyLinePixels = 9;        // below this the key line is set in two lines

// Where each part of the display goes in a window of width x height pixels:
//   top left: targets done of all, the game time, the best time when there is one;
//   centre:   "Paused", or the end lines with the result and "R: play again" under them
//             (with "N: next level" after a win on a level with one after it);
//   bottom:   the key line, while help is shown or the game is paused.
std::vector<TextRun> layoutHud(const HudState& state, int width, int height,
                               const TextMetrics& metrics);

// The keys in one line, as the bottom of the display shows them.
std::string keyHelpLine();
