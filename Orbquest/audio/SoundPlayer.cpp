#include "audio/SoundPlayer.h"

#include <AL/alext.h>

#include <cstring>

#include "audio/SoundBank.h"

namespace {

// Pitched sounds are resampled by name rather than by the resampler the player's OpenAL
// configuration picks, so a written file comes out the same everywhere.
const char* const kResampler = "Linear";

ALint fixedResampler() {
    if (!alIsExtensionPresent("AL_SOFT_source_resampler")) {
        return -1;
    }
    auto nameOf = reinterpret_cast<LPALGETSTRINGISOFT>(alGetProcAddress("alGetStringiSOFT"));
    const ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
    for (ALint i = 0; nameOf != nullptr && i < count; ++i) {
        const ALchar* name = nameOf(AL_RESAMPLER_NAME_SOFT, i);
        if (name != nullptr && std::strcmp(name, kResampler) == 0) {
            return i;
        }
    }
    return -1;
}

void prepareSource(ALuint source, ALint resampler) {
    if (resampler >= 0) {
        alSourcei(source, AL_SOURCE_RESAMPLER_SOFT, resampler);
    }
}

// Sounds at the ball move with the listener.
void placeAtListener(ALuint source) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
}

}  // namespace

SoundPlayer::SoundPlayer(const SoundBank& bank) : bank_(bank) {
    const ALint resampler = fixedResampler();
    alGenSources(static_cast<ALsizei>(voices_.size()), voices_.data());
    for (ALuint voice : voices_) {
        prepareSource(voice, resampler);
    }
    alGenSources(1, &rolling_);
    prepareSource(rolling_, resampler);
    placeAtListener(rolling_);
    alSourcei(rolling_, AL_BUFFER, static_cast<ALint>(bank_.buffer(Sound::Rolling)));
    alSourcei(rolling_, AL_LOOPING, AL_TRUE);
    alSourcef(rolling_, AL_GAIN, 0.0f);
    alSourcePlay(rolling_);
}

SoundPlayer::~SoundPlayer() {
    alSourceStopv(static_cast<ALsizei>(voices_.size()), voices_.data());
    alSourceStop(rolling_);
    alDeleteSources(static_cast<ALsizei>(voices_.size()), voices_.data());
    alDeleteSources(1, &rolling_);
}

ALuint SoundPlayer::freeVoice() {
    for (size_t i = 0; i < voices_.size(); ++i) {
        const size_t candidate = (nextVoice_ + i) % voices_.size();
        ALint state = AL_STOPPED;
        alGetSourcei(voices_[candidate], AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            nextVoice_ = (candidate + 1) % voices_.size();
            return voices_[candidate];
        }
    }
    const ALuint oldest = voices_[nextVoice_];
    nextVoice_ = (nextVoice_ + 1) % voices_.size();
    alSourceStop(oldest);
    return oldest;
}

void SoundPlayer::play(Sound sound, const glm::vec3* position, float pitch) {
    const ALuint voice = freeVoice();
    alSourcei(voice, AL_BUFFER, static_cast<ALint>(bank_.buffer(sound)));
    if (position != nullptr) {
        alSourcei(voice, AL_SOURCE_RELATIVE, AL_FALSE);
        alSource3f(voice, AL_POSITION, position->x, position->y, position->z);
    } else {
        placeAtListener(voice);
    }
    alSourcef(voice, AL_PITCH, pitch);
    alSourcePlay(voice);
}

void SoundPlayer::setRolling(float gain, float pitch) {
    alSourcef(rolling_, AL_GAIN, gain);
    alSourcef(rolling_, AL_PITCH, pitch);
}

void SoundPlayer::setListener(const glm::vec3& front, const glm::vec3& up) {
    const ALfloat orientation[] = {front.x, front.y, front.z, up.x, up.y, up.z};
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    alListenerfv(AL_ORIENTATION, orientation);
}

void SoundPlayer::setMasterGain(float gain) {
    alListenerf(AL_GAIN, gain);
}
