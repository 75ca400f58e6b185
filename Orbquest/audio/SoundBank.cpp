#include "audio/SoundBank.h"

#include "base/AssetPaths.h"
#include "base/Fatal.h"

SoundClips loadSoundClips() {
    SoundClips clips;
    for (size_t i = 0; i < kSoundCount; ++i) {
        const std::string path = assets::sound(kSoundFileNames[i]);
        std::string error;
        if (!readSoundClip(path, clips[i], error)) {
            fatalError("Failed to load the sound file " + path + "! " + error);
        }
    }
    return clips;
}

SoundBank::SoundBank(const SoundClips& clips) {
    alGenBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
    for (size_t i = 0; i < kSoundCount; ++i) {
        const SoundClip& clip = clips[i];
        alBufferData(buffers_[i], AL_FORMAT_MONO16, clip.samples.data(),
                     static_cast<ALsizei>(clip.samples.size() * sizeof(clip.samples[0])),
                     clip.sampleRate);
    }
}

SoundBank::~SoundBank() {
    alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
}
