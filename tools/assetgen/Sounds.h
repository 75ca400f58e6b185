#pragma once

#include <string>
#include <vector>

#include "audio/SoundFiles.h"

namespace assetgen {

// The chime's fundamental (C6); the game raises it as targets are done.
constexpr double kChimeHz = 1046.5;

// Mono samples in [-1, 1].
using Samples = std::vector<double>;

Samples makeSound(Sound sound);

// 16-bit PCM mono WAV at kSoundRate, written with libsndfile.
bool saveWav(const Samples& samples, const std::string& path);

}  // namespace assetgen
