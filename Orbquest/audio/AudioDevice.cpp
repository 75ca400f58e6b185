#include "audio/AudioDevice.h"

#include <cstdlib>

#include "base/AtomicFile.h"

namespace {

// The settings of OpenAL Soft's configuration files that change what a stereo mix sounds
// like, pinned for the loopback device; every other one leaves its samples alone.
const char* const kLoopbackConfiguration =
    "[general]\n"
    "stereo-mode = speakers\n"
    "stereo-encoding = panpot\n"
    "hrtf = false\n"
    "cf_level = 0\n"
    "resampler = linear\n"
    "output-limiter = false\n"
    "volume-adjust = 0\n"
    "default-reverb =\n";

// OpenAL Soft reads its configuration once, at its first call, and the file ALSOFT_CONF names
// last, over the machine's and the player's own. While it exists, that is ours, so no
// configuration on the machine changes a recording.
class PinnedConfiguration {
  public:
    // A scratch file: the writer's temporary, never put in place and removed with it.
    PinnedConfiguration() {
        const char* tmp = std::getenv("TMPDIR");
        if (!file_.open(std::string(tmp && *tmp ? tmp : "/tmp") + "/orbquest-alsoft.conf") ||
            !file_.write(kLoopbackConfiguration)) {
            return;
        }
        const char* previous = std::getenv("ALSOFT_CONF");
        hadPrevious_ = previous != nullptr;
        previous_ = previous ? previous : "";
        pinned_ = setenv("ALSOFT_CONF", file_.temporaryPath().c_str(), 1) == 0;
    }
    ~PinnedConfiguration() {
        if (pinned_ && hadPrevious_) {
            setenv("ALSOFT_CONF", previous_.c_str(), 1);
        } else if (pinned_) {
            unsetenv("ALSOFT_CONF");
        }
    }
    PinnedConfiguration(const PinnedConfiguration&) = delete;
    PinnedConfiguration& operator=(const PinnedConfiguration&) = delete;

  private:
    AtomicFile file_;
    std::string previous_;
    bool hadPrevious_ = false;
    bool pinned_ = false;
};

}  // namespace

AudioDevice::~AudioDevice() {
    close();
}

std::string alcErrorName(ALCenum error) {
    switch (error) {
        case ALC_NO_ERROR:
            return "ALC_NO_ERROR";
        case ALC_INVALID_DEVICE:
            return "ALC_INVALID_DEVICE";
        case ALC_INVALID_CONTEXT:
            return "ALC_INVALID_CONTEXT";
        case ALC_INVALID_ENUM:
            return "ALC_INVALID_ENUM";
        case ALC_INVALID_VALUE:
            return "ALC_INVALID_VALUE";
        case ALC_OUT_OF_MEMORY:
            return "ALC_OUT_OF_MEMORY";
        default:
            return "ALC error " + std::to_string(error);
    }
}

bool AudioDevice::openDefault(std::string& error) {
    close();
    device_ = alcOpenDevice(nullptr);
    if (device_ == nullptr) {
        error =
            "no audio device could be opened (OpenAL: " + alcErrorName(alcGetError(nullptr)) + ")";
        return false;
    }
    return createContext(nullptr, error);
}

bool AudioDevice::openLoopback(int sampleRate, std::string& error) {
    close();
    // Only in effect when this is the process's first OpenAL call, as it is in the game.
    const PinnedConfiguration pinned;
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
        error = "OpenAL has no loopback device (ALC_SOFT_loopback)";
        return false;
    }
    auto openLoopbackDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    device_ = openLoopbackDevice ? openLoopbackDevice(nullptr) : nullptr;
    if (device_ == nullptr || render == nullptr) {
        error = "the loopback device could not be opened (OpenAL: " +
                alcErrorName(alcGetError(nullptr)) + ")";
        close();
        return false;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 sampleRate,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 ALC_MAX_AUXILIARY_SENDS,
                                 0,
                                 0};
    if (!createContext(attributes, error)) {
        return false;
    }
    render_ = render;
    return true;
}

bool AudioDevice::createContext(const ALCint* attributes, std::string& error) {
    context_ = alcCreateContext(device_, attributes);
    if (context_ == nullptr || !alcMakeContextCurrent(context_)) {
        error = "OpenAL could not start a context (" + alcErrorName(alcGetError(device_)) + ")";
        close();
        return false;
    }
    return true;
}

void AudioDevice::close() {
    if (context_ != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
        context_ = nullptr;
    }
    if (device_ != nullptr) {
        alcCloseDevice(device_);
        device_ = nullptr;
    }
    render_ = nullptr;
}

void AudioDevice::render(float* out, int frames) {
    if (render_ != nullptr && frames > 0) {
        render_(device_, out, frames);
    }
}
