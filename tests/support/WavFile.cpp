#include "support/WavFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "base/MathConstants.h"

WavFile readWavFile(const std::string& path) {
    WavFile wav;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return wav;
    }
    wav.samples.resize(static_cast<size_t>(info.frames * info.channels));
    if (sf_readf_short(file, wav.samples.data(), info.frames) == info.frames) {
        wav.sampleRate = info.samplerate;
        wav.channels = info.channels;
    } else {
        wav.samples.clear();
    }
    sf_close(file);
    return wav;
}

int64_t WavFile::frameAt(double seconds) const {
    return std::llround(seconds * sampleRate);
}

double WavFile::peak(int64_t first, int64_t count) const {
    const int64_t begin = std::clamp<int64_t>(first, 0, frames());
    const int64_t end = std::clamp<int64_t>(first + count, 0, frames());
    int largest = 0;
    for (int64_t i = begin * channels; i < end * channels; ++i) {
        largest = std::max(largest, std::abs(static_cast<int>(samples[static_cast<size_t>(i)])));
    }
    return largest / 32768.0;
}

double WavFile::powerAt(double hz, int64_t first, int64_t count) const {
    const int64_t begin = std::clamp<int64_t>(first, 0, frames());
    const int64_t end = std::clamp<int64_t>(first + count, 0, frames());
    const double coefficient = 2.0 * std::cos(2.0 * kPi * hz / sampleRate);
    double power = 0.0;
    for (int c = 0; c < channels; ++c) {
        double previous = 0.0, beforeThat = 0.0;
        for (int64_t i = begin; i < end; ++i) {
            const double x = samples[static_cast<size_t>(i * channels + c)] / 32768.0;
            const double next = x + coefficient * previous - beforeThat;
            beforeThat = previous;
            previous = next;
        }
        power +=
            previous * previous + beforeThat * beforeThat - coefficient * previous * beforeThat;
    }
    return power;
}
