#pragma once

#include <memory>
#include <string>

#include "hud/Font.h"
#include "hud/HudState.h"
#include "hud/TextRenderer.h"

// The on-screen display: progress and time in the top left corner, "Paused" or the end of the
// game in the centre, the keys along the bottom. Drawn after the colour pass into the same
// framebuffer; H hides it, and hidden it draws nothing and touches no GL state.
class Hud {
  public:
    bool visible = true;
    // Seconds of frame time the key line has left; the start of a game and F1 set it.
    float helpSecondsLeft = 0.0f;

    Hud() = default;
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    // Finds and opens the font and builds the program; false, with why, when there is no
    // font to draw with (the game then runs without the display).
    bool init(std::string& error);
    bool ready() const { return text_ != nullptr; }

    void showHelp();
    // Counts the key line's time down by a frame's time.
    void advance(float deltaTime);
    bool helpShowing() const { return helpSecondsLeft > 0.0f; }

    // Into the framebuffer bound, 'width' x 'height' pixels (the window's framebuffer size);
    // when that size changes every glyph is rasterised again at its new size.
    void draw(const HudState& state, int width, int height);

  private:
    Font font_;
    std::unique_ptr<TextRenderer> text_;
    int laidOutHeight_ = 0;  // the framebuffer height the atlases were made for
};

// How long the key line shows at the start of a game and after F1, in seconds.
constexpr float kHelpSeconds = 8.0f;
