#pragma once

#include <string>

#include "settings/GameSettings.h"

// What the command line asks of the sound.
struct AudioSettings {
    bool muted = false;
    int volume = kDefaultVolume;  // 0 to kMaxVolume
    std::string outputPath;       // a WAV file to write instead of playing; empty plays live
};
