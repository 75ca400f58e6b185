#pragma once

#include <cstdint>

// One frame's reading of a gamepad, as GLFW's gamepad state gives it: the two sticks from -1 to
// 1 (y grows downwards, as on the screen) and the buttons, bit GLFW_GAMEPAD_BUTTON_x set while
// that button is down. No pad reads as the sticks at rest and no button down; the triggers are
// not read, since nothing in the game answers them.
struct PadState {
    float leftX = 0.0f;
    float leftY = 0.0f;
    float rightX = 0.0f;
    float rightY = 0.0f;
    std::uint32_t buttons = 0;

    bool down(int button) const { return (buttons >> button) & 1u; }
    bool operator==(const PadState& other) const {
        return leftX == other.leftX && leftY == other.leftY && rightX == other.rightX &&
               rightY == other.rightY && buttons == other.buttons;
    }
    bool operator!=(const PadState& other) const { return !(*this == other); }
};
