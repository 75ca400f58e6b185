#pragma once

#include <string>

#include "input/PadState.h"

// What the gamepad means to the game: the left stick and the d-pad hold W, A, S, D, the bottom
// face button (A) holds Space, and the right stick turns the camera.

// True when the pad holds 'key' down in this state: a stick past the dead zone towards it, or
// its d-pad direction or button.
bool padPressesKey(const PadState& pad, int key, float deadZone);
// A stick's value past the dead zone, from -1 to 1: 0 inside it, then growing with the
// square of the travel beyond it, so small moves turn the camera finely.
float stickPastDeadZone(float value, float deadZone);
// True when the player is touching the pad: any stick past the dead zone or any button down.
bool padInUse(const PadState& pad, float deadZone);

// The first connected joystick GLFW knows a gamepad mapping for, read now; at rest if none.
PadState readFirstGamepad();
// Prints "Gamepad connected: NAME" for each pad there now and as one comes, and "Gamepad
// disconnected: NAME" as one goes (GLFW tells during the event poll). Needs GLFW initialised.
void announceGamepads();
// Adds the mappings of an SDL game controller database file to GLFW's own; a missing file is
// nothing, a bad one gets a line naming it. Needs GLFW initialised.
void loadGamepadMappings(const std::string& path);
