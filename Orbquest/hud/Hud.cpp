#include "hud/Hud.h"

#include "hud/FontFile.h"
#include "hud/HudLayout.h"

bool Hud::init(std::string& error) {
    const std::string path = findFontFile(error);
    if (path.empty() || !font_.open(path, error)) {
        return false;
    }
    text_ = std::make_unique<TextRenderer>(font_);
    showHelp();
    return true;
}

void Hud::showHelp() {
    helpSecondsLeft = kHelpSeconds;
}

void Hud::advance(float deltaTime) {
    if (helpSecondsLeft > 0.0f) {
        helpSecondsLeft -= deltaTime;
    }
}

void Hud::draw(const HudState& state, int width, int height) {
    if (!visible || !text_) {
        return;
    }
    // Sizes follow the height: glyphs of the old sizes would not be drawn again.
    if (height != laidOutHeight_) {
        text_->forgetSizes();
        laidOutHeight_ = height;
    }
    text_->draw(layoutHud(state, width, height, font_), width, height);
}
