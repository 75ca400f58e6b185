#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A sound file read whole with libsndfile: 16-bit samples, channels interleaved.
struct WavFile {
    int sampleRate = 0;  // 0 when the file could not be read
    int channels = 0;
    std::vector<int16_t> samples;

    int64_t frames() const {
        return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0;
    }
    // The largest magnitude of any channel in sample frames [first, first + count), clipped to
    // the file; in full scale (0 to 1).
    double peak(int64_t first, int64_t count) const;
    // The energy at 'hz' (Goertzel) over the same frames, both channels summed; relative units,
    // for comparing frequencies within one stretch.
    double powerAt(double hz, int64_t first, int64_t count) const;
    int64_t frameAt(double seconds) const;
};

WavFile readWavFile(const std::string& path);
