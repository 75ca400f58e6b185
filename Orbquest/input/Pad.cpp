#include "input/Pad.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

// The pad's way to hold each movement key: the stick's direction (-1 or 1 on one axis) and the
// d-pad direction or button.
struct PadKey {
    int key;
    float PadState::*axis;  // null: the button alone
    float direction;
    int button;
};

const PadKey kPadKeys[] = {
    {GLFW_KEY_W, &PadState::leftY, -1.0f, GLFW_GAMEPAD_BUTTON_DPAD_UP},
    {GLFW_KEY_A, &PadState::leftX, -1.0f, GLFW_GAMEPAD_BUTTON_DPAD_LEFT},
    {GLFW_KEY_S, &PadState::leftY, 1.0f, GLFW_GAMEPAD_BUTTON_DPAD_DOWN},
    {GLFW_KEY_D, &PadState::leftX, 1.0f, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT},
    {GLFW_KEY_SPACE, nullptr, 0.0f, GLFW_GAMEPAD_BUTTON_A},
};

// The names of the joysticks connected, by GLFW's id: GLFW cannot name one that has gone.
std::string connectedNames[GLFW_JOYSTICK_LAST + 1];
bool connectedAsGamepad[GLFW_JOYSTICK_LAST + 1] = {};

std::string joystickName(int id) {
    const char* name = glfwJoystickIsGamepad(id) ? glfwGetGamepadName(id) : glfwGetJoystickName(id);
    return name ? name : "joystick " + std::to_string(id + 1);
}

void joystickChanged(int id, int event) {
    if (id < 0 || id > GLFW_JOYSTICK_LAST) {
        return;
    }
    if (event == GLFW_CONNECTED) {
        connectedNames[id] = joystickName(id);
        connectedAsGamepad[id] = glfwJoystickIsGamepad(id);
        if (connectedAsGamepad[id]) {
            std::cout << "Gamepad connected: " << connectedNames[id] << std::endl;
        } else {
            std::cout << "Joystick connected without a gamepad mapping: " << connectedNames[id]
                      << std::endl;
        }
    } else if (event == GLFW_DISCONNECTED) {
        std::cout << (connectedAsGamepad[id] ? "Gamepad" : "Joystick")
                  << " disconnected: " << connectedNames[id] << std::endl;
        connectedNames[id].clear();
    }
}

int mappingErrors = 0;  // GLFW's complaints while a mappings file is being added

void countMappingError(int, const char*) {
    ++mappingErrors;
}

// Lines GLFW skips without a word: neither blank, nor a '#' comment, nor starting with a hex
// digit as every mapping's GUID does.
int linesNotMappings(const std::string& text) {
    int count = 0;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string line = text.substr(at, end - at);
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#' &&
            !std::isxdigit(static_cast<unsigned char>(line[0]))) {
            ++count;
        }
        at = end + 1;
    }
    return count;
}

}  // namespace

bool padPressesKey(const PadState& pad, int key, float deadZone) {
    for (const PadKey& padKey : kPadKeys) {
        if (padKey.key != key) {
            continue;
        }
        return pad.down(padKey.button) ||
               (padKey.axis && pad.*(padKey.axis) * padKey.direction > deadZone);
    }
    return false;
}

float stickPastDeadZone(float value, float deadZone) {
    const float travel = std::abs(value);
    if (travel <= deadZone || deadZone >= 1.0f) {
        return 0.0f;
    }
    const float beyond = std::fmin((travel - deadZone) / (1.0f - deadZone), 1.0f);
    return std::copysign(beyond * beyond, value);
}

bool padInUse(const PadState& pad, float deadZone) {
    return pad.buttons != 0 || std::abs(pad.leftX) > deadZone || std::abs(pad.leftY) > deadZone ||
           std::abs(pad.rightX) > deadZone || std::abs(pad.rightY) > deadZone;
}

PadState readFirstGamepad() {
    PadState pad;
    for (int id = GLFW_JOYSTICK_1; id <= GLFW_JOYSTICK_LAST; ++id) {
        GLFWgamepadstate state;
        if (!glfwJoystickIsGamepad(id) || !glfwGetGamepadState(id, &state)) {
            continue;
        }
        pad.leftX = state.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
        pad.leftY = state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
        pad.rightX = state.axes[GLFW_GAMEPAD_AXIS_RIGHT_X];
        pad.rightY = state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y];
        for (int button = 0; button <= GLFW_GAMEPAD_BUTTON_LAST; ++button) {
            if (state.buttons[button] == GLFW_PRESS) {
                pad.buttons |= 1u << button;
            }
        }
        return pad;
    }
    return pad;
}

void announceGamepads() {
    // GLFW tells only of changes: the pads already there are announced as they are found.
    for (int id = GLFW_JOYSTICK_1; id <= GLFW_JOYSTICK_LAST; ++id) {
        if (glfwJoystickPresent(id)) {
            joystickChanged(id, GLFW_CONNECTED);
        }
    }
    glfwSetJoystickCallback(joystickChanged);
}

void loadGamepadMappings(const std::string& path) {
    std::error_code ignored;
    if (path.empty() || !std::filesystem::exists(path, ignored)) {
        return;
    }
    const std::string refused = "Gamepad mappings in " + path + ": ";
    std::ifstream file(path, std::ios::binary);
    if (std::filesystem::is_directory(path, ignored) || !file) {
        std::cout << refused << "the file cannot be read; GLFW's own mappings stay" << std::endl;
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    // GLFW adds the lines it can read and complains through the error callback of the others,
    // except lines that do not start like a mapping (a GUID's hex digits): those it passes over.
    mappingErrors = 0;
    const GLFWerrorfun previous = glfwSetErrorCallback(countMappingError);
    const int added = glfwUpdateGamepadMappings(text.c_str());
    glfwSetErrorCallback(previous);
    const int bad = mappingErrors + linesNotMappings(text) + (added ? 0 : 1);
    if (bad > 0) {
        std::cout << refused << bad
                  << " of its lines are no mappings GLFW can read (the SDL game controller "
                     "database's format, one a line); GLFW's own mappings stay"
                  << std::endl;
    }
}
