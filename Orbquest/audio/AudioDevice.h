#pragma once

#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/efx.h>

#include <string>

// The OpenAL device and its one context, made current while open. Either the system's default
// output, which plays in real time on its own, or OpenAL Soft's loopback device, which mixes
// only when asked to, into memory.
class AudioDevice {
  public:
    // The loopback device mixes two channels of floats.
    static constexpr int kLoopbackChannels = 2;

    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // False, with the reason in 'error', when there is no device or OpenAL fails.
    bool openDefault(std::string& error);
    // Mixes at 'sampleRate' with everything that differs between machines turned off (HRTF,
    // the output limiter, the default reverb), so the same sounds give the same samples.
    bool openLoopback(int sampleRate, std::string& error);
    void close();

    bool isOpen() const { return context_ != nullptr; }
    bool isLoopback() const { return render_ != nullptr; }
    // Loopback only: mixes the next 'frames' sample frames, interleaved stereo, into 'out'.
    void render(float* out, int frames);

  private:
    bool createContext(const ALCint* attributes, std::string& error);

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT render_ = nullptr;
};

// OpenAL's name for an ALC error code, e.g. "ALC_INVALID_VALUE".
std::string alcErrorName(ALCenum error);
