#include "audio/AudioDevice.h"

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
        error = "no audio device could be opened (" + alcErrorName(alcGetError(nullptr)) + ")";
        return false;
    }
    return createContext(nullptr, error);
}

bool AudioDevice::openLoopback(int sampleRate, std::string& error) {
    close();
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
        error =
            "the loopback device could not be opened (" + alcErrorName(alcGetError(nullptr)) + ")";
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
