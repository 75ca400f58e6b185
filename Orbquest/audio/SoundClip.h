#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One sound file read whole into memory: mono 16-bit samples at the file's own rate.
struct SoundClip {
    std::vector<int16_t> samples;
    int sampleRate = 0;  // Hz
};

// Reads the sound file at 'path' with libsndfile. On failure returns false and says why in
// 'error': the file is missing or unreadable, not mono, or holds no samples.
bool readSoundClip(const std::string& path, SoundClip& clip, std::string& error);
