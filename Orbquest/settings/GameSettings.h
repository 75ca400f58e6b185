#pragma once

#include <string>

// What a player can keep from one game to the next: the settings file holds these, the command
// line overrides them, and the app hands each to the part of the game that uses it.

constexpr int kDefaultWindowWidth = 1024;  // screen pixels
constexpr int kDefaultWindowHeight = 768;  // screen pixels
constexpr int kMaxWindowSide = 16384;      // pixels; larger windows fail inside X
constexpr bool kDefaultFullScreen = false;
constexpr int kDefaultRefreshRate = 60;           // Hz, a hint for full-screen windows
constexpr float kDefaultMouseSensitivity = 1.0f;  // times the camera's turn per pixel
constexpr float kMaxMouseSensitivity = 100.0f;
constexpr bool kDefaultInvertY = false;
constexpr float kDefaultPadDeadZone = 0.2f;       // of a stick's travel, ignored around its rest
constexpr float kMaxPadDeadZone = 0.9f;           // beyond this a stick could hardly move the ball
constexpr float kDefaultPadCameraSpeed = 120.0f;  // degrees per second, stick fully over
constexpr float kMaxPadCameraSpeed = 1000.0f;
constexpr int kDefaultVolume = 100;  // percent
constexpr int kMaxVolume = 100;
constexpr bool kDefaultMute = false;
constexpr bool kDefaultHud = true;  // the on-screen display shows

// The multisampling counts a window may ask for.
constexpr int kSampleCounts[] = {0, 2, 4, 8};
// The shadow filters by the player's names for them (render/ knows what each one means).
inline const char* const kShadowQualityNames[] = {"soft", "fast", "hard"};

struct GameSettings {
    int windowWidth = kDefaultWindowWidth;
    int windowHeight = kDefaultWindowHeight;
    bool fullScreen = kDefaultFullScreen;
    float mouseSensitivity = kDefaultMouseSensitivity;
    bool invertY = kDefaultInvertY;
    float padDeadZone = kDefaultPadDeadZone;
    float padCameraSpeed = kDefaultPadCameraSpeed;
    int volume = kDefaultVolume;
    bool mute = kDefaultMute;
    int samples = -1;           // one of kSampleCounts; -1 leaves it to the game
    std::string shadowQuality;  // one of kShadowQualityNames; empty leaves it to the game
    bool hud = kDefaultHud;
};
