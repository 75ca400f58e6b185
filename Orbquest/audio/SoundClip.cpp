#include "audio/SoundClip.h"

#include <sndfile.h>

#include "audio/SoundFiles.h"

namespace {

// Ten minutes: far beyond any of the game's sounds, short of a file that would exhaust memory.
constexpr sf_count_t kMaxSamples = kSoundRate * 600;

}  // namespace

bool readSoundClip(const std::string& path, SoundClip& clip, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = sf_strerror(nullptr);
        return false;
    }
    if (info.channels != 1) {
        error = "It has " + std::to_string(info.channels) + " channels; sounds must be mono.";
    } else if (info.frames <= 0 || info.samplerate <= 0) {
        error = "It holds no sound.";
    } else if (info.frames > kMaxSamples) {
        error = "It holds more than " + std::to_string(kMaxSamples) + " samples.";
    } else {
        clip.sampleRate = info.samplerate;
        clip.samples.resize(static_cast<size_t>(info.frames));
        if (sf_readf_short(file, clip.samples.data(), info.frames) != info.frames) {
            error = std::string("It ends early: ") + sf_strerror(file);
        }
    }
    sf_close(file);
    if (!error.empty()) {
        clip.samples.clear();
        return false;
    }
    return true;
}
