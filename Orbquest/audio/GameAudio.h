#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/AudioSettings.h"
#include "audio/SampleClock.h"
#include "audio/SoundBank.h"
#include "audio/SoundWatcher.h"
#include "audio/WavRecorder.h"

class Camera;
class SceneCreator;
class SoundPlayer;

// The game's sound: what the level does, heard through OpenAL. Played live on the default
// device, or, when writing a file, mixed by the loopback device for exactly each frame's game
// time, so a replay writes the same file on any machine, with or without a sound card. Without
// a device, or when OpenAL fails, it says so once and every call does nothing.
class GameAudio {
  public:
    static constexpr int kRecordingRate = kSoundRate;

    // Reads every sound file and checks that the file to write, if any, can be written; either
    // failing ends the game with a message naming the file.
    explicit GameAudio(const AudioSettings& settings);
    ~GameAudio();
    GameAudio(const GameAudio&) = delete;
    GameAudio& operator=(const GameAudio&) = delete;

    // Opens the output, once the level is built and before its first frame, and takes in the
    // level as it stands: the loopback device and the file when writing one, else the default
    // device, or one line "Sound is off: ..." when there is none.
    void start(const SceneCreator& level);
    // Once a frame, after the world update and the colour pass (which decides a win):
    // starts what the frame's events sound like, turns the listener with the camera and,
    // when writing, mixes the frame's 'deltaTime' into the file. 'paused' silences the loop.
    void update(const SceneCreator& level, const Camera& camera, float deltaTime, bool paused);
    // R: the level starts again; what it does from now on is heard against its fresh state.
    void restart(const SceneCreator& level);
    // Game time that passes without a frame (the wait after the game ends) goes into the file.
    void pass(double seconds);
    // M: sound off or on, confirmed on the console.
    void toggleMute();
    // Completes the file being written; false, with the reason, when it could not be.
    bool finish(std::string& error);

    bool isOn() const { return player_ != nullptr; }
    bool muted() const { return settings_.muted; }

  private:
    bool open(const SoundClips& clips);
    [[noreturn]] void failToWrite(const std::string& reason);
    void applyGain();
    void mix(int64_t frames);

    AudioSettings settings_;
    std::unique_ptr<SoundClips> clips_;  // read at start-up, until start makes them buffers
    // Declared in the order they are made; they go in reverse: sources, buffers, device.
    AudioDevice device_;
    std::unique_ptr<SoundBank> bank_;
    std::unique_ptr<SoundPlayer> player_;
    SoundWatcher watcher_;
    SampleClock clock_{kRecordingRate};
    WavRecorder recorder_;
    std::vector<float> mixed_;
};
