#pragma once

#include <AL/al.h>

#include <array>

#include <glm/glm.hpp>

#include "audio/SoundFiles.h"

class SoundBank;

// The OpenAL sources and the listener. The listener is the player's ball at the origin; a
// positional sound plays from where it happened, relative to the ball, the others at the ball.
// One-shot sounds share a few voices; the rolling loop has a source of its own.
class SoundPlayer {
  public:
    static constexpr size_t kVoices = 16;

    // The bank must outlive the player.
    explicit SoundPlayer(const SoundBank& bank);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Starts 'sound' at once, at 'pitch' (1: as recorded), from 'position' or, when null, at
    // the listener. With every voice busy, the one started longest ago gives way.
    void play(Sound sound, const glm::vec3* position, float pitch);
    // The rolling loop's loudness (0 silent) and pitch.
    void setRolling(float gain, float pitch);
    // Turns the listener: 'front' is where it faces, 'up' its top.
    void setListener(const glm::vec3& front, const glm::vec3& up);
    // Everything the player hears is scaled by 'gain' (0 silent).
    void setMasterGain(float gain);

  private:
    ALuint freeVoice();

    const SoundBank& bank_;
    std::array<ALuint, kVoices> voices_{};
    size_t nextVoice_ = 0;  // the voice started longest ago
    ALuint rolling_ = 0;
};
