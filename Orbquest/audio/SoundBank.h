#pragma once

#include <AL/al.h>

#include <array>

#include "audio/SoundClip.h"
#include "audio/SoundFiles.h"

using SoundClips = std::array<SoundClip, kSoundCount>;

// Reads every sound file of the game. A file that is missing or unreadable ends the game with a
// message naming it, as a missing model does.
SoundClips loadSoundClips();

// One OpenAL buffer per sound, made from the clips while a context is current, and deleted
// with the bank (after every source that plays them).
class SoundBank {
  public:
    explicit SoundBank(const SoundClips& clips);
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    ALuint buffer(Sound sound) const { return buffers_[static_cast<size_t>(sound)]; }

  private:
    std::array<ALuint, kSoundCount> buffers_{};
};
