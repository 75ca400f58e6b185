#pragma once

#include <cstddef>

// The game's sounds, one file each among the assets (assets::sound); the asset generator
// writes them.
enum class Sound { LiftOff, Knock, Chime, HitTarget, Fall, Fanfare, Rolling };

constexpr std::size_t kSoundCount = 7;
// The sounds' sample rate, and the rate a recording is mixed at: a sound played at its own
// pitch needs no resampling.
constexpr int kSoundRate = 48000;  // Hz
// Indexed by Sound.
constexpr const char* kSoundFileNames[kSoundCount] = {"lift-off.wav",   "knock.wav", "chime.wav",
                                                      "hit-target.wav", "fall.wav",  "fanfare.wav",
                                                      "rolling.wav"};

constexpr const char* soundFileName(Sound sound) {
    return kSoundFileNames[static_cast<std::size_t>(sound)];
}
