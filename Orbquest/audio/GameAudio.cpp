#include "audio/GameAudio.h"

#include <AL/al.h>

#include <algorithm>
#include <iostream>

#include "audio/SoundBank.h"
#include "audio/SoundPlayer.h"
#include "base/AtomicFile.h"
#include "base/Fatal.h"
#include "render/Camera.h"

namespace {

// Sample frames mixed per call into the file, so a long frame needs no large buffer.
constexpr int64_t kMixChunk = 4096;

}  // namespace

GameAudio::GameAudio(const AudioSettings& settings) : settings_(settings) {
    settings_.volume = std::clamp(settings_.volume, 0, kMaxVolume);
    clips_ = std::make_unique<SoundClips>(loadSoundClips());
    // Checked now, written from start on: a start-up that fails in between leaves no file.
    std::string error;
    if (!settings_.outputPath.empty() && !canWriteFileAt(settings_.outputPath, error)) {
        failToWrite(error);
    }
}

GameAudio::~GameAudio() {
    player_.reset();
    bank_.reset();
    device_.close();
}

void GameAudio::failToWrite(const std::string& reason) {
    recorder_.discard();  // the process ends without running destructors
    player_.reset();
    bank_.reset();
    device_.close();  // OpenAL complains on exit about a device left open
    fatalError("Cannot write the sound file " + settings_.outputPath + ": " + reason);
}

void GameAudio::start(const SceneCreator& level) {
    const std::unique_ptr<SoundClips> clips = std::move(clips_);
    if (!clips || !open(*clips)) {
        return;
    }
    applyGain();
    watcher_.start(level);
}

bool GameAudio::open(const SoundClips& clips) {
    std::string error;
    const bool recording = !settings_.outputPath.empty();
    if (recording) {
        // What was asked for is a file; without the loopback device it cannot be made.
        if (!recorder_.open(settings_.outputPath, kRecordingRate, AudioDevice::kLoopbackChannels,
                            error) ||
            !device_.openLoopback(kRecordingRate, error)) {
            failToWrite(error);
        }
    } else if (!device_.openDefault(error)) {
        std::cout << "Sound is off: " << error << std::endl;
        return false;
    }
    alGetError();
    bank_ = std::make_unique<SoundBank>(clips);
    player_ = std::make_unique<SoundPlayer>(*bank_);
    if (const ALenum failure = alGetError(); failure != AL_NO_ERROR) {
        error = std::string("OpenAL could not load the sounds (") + alGetString(failure) + ")";
        if (recording) {
            failToWrite(error);
        }
        std::cout << "Sound is off: " << error << std::endl;
        player_.reset();
        bank_.reset();
        device_.close();
        return false;
    }
    return true;
}

void GameAudio::applyGain() {
    if (player_) {
        player_->setMasterGain(settings_.muted ? 0.0f
                                               : static_cast<float>(settings_.volume) / kMaxVolume);
    }
}

void GameAudio::update(const SceneCreator& level, const Camera& camera, float deltaTime,
                       bool paused) {
    if (!player_) {
        return;
    }
    const SoundDecisions& decisions = watcher_.watch(level, deltaTime, paused);
    player_->setListener(camera.front, camera.up);
    for (const SoundCue& cue : decisions.cues) {
        player_->play(cue.sound, cue.positional ? &cue.position : nullptr, cue.pitch);
    }
    player_->setRolling(decisions.rollingGain, decisions.rollingPitch);
    pass(deltaTime);
}

void GameAudio::restart(const SceneCreator& level) {
    if (player_) {
        watcher_.start(level);
        player_->setRolling(0.0f, 1.0f);
    }
}

void GameAudio::pass(double seconds) {
    if (player_ && recorder_.isOpen()) {
        mix(clock_.advance(seconds));
    }
}

void GameAudio::mix(int64_t frames) {
    for (int64_t done = 0; done < frames; done += kMixChunk) {
        const int64_t count = std::min(kMixChunk, frames - done);
        mixed_.resize(static_cast<size_t>(count * AudioDevice::kLoopbackChannels));
        device_.render(mixed_.data(), static_cast<int>(count));
        recorder_.write(mixed_.data(), count);
    }
}

void GameAudio::toggleMute() {
    settings_.muted = !settings_.muted;
    applyGain();
    std::cout << std::endl;
    std::cout << (settings_.muted ? "Sound: Off" : "Sound: On") << std::endl;
}

bool GameAudio::finish(std::string& error) {
    if (!recorder_.isOpen()) {
        return true;
    }
    return recorder_.finish(error);
}
