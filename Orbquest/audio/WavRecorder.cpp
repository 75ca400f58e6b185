#include "audio/WavRecorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Frames converted per libsndfile call.
constexpr int64_t kChunkFrames = 4096;

// An existing file of that name is replaced, so it must be one the player could overwrite.
bool replaceable(const std::string& path, std::string& error) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return true;  // nothing there yet
    }
    if (!S_ISREG(status.st_mode)) {
        error = "it is not a plain file";
        return false;
    }
    if (access(path.c_str(), W_OK) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

// mkstemp makes the file readable by its owner only; the finished file gets the permissions
// any new file of the player's gets.
void giveUsualPermissions(int fd) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}

int16_t toPcm16(float sample) {
    return static_cast<int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

WavRecorder::~WavRecorder() {
    discard();
}

bool WavRecorder::open(const std::string& path, int sampleRate, int channels, std::string& error) {
    discard();
    if (!replaceable(path, error)) {
        return false;
    }
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof(suffix));  // with the terminating zero
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    giveUsualPermissions(fd);
    close(fd);
    temporaryPath_ = name.data();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_ = sf_open(temporaryPath_.c_str(), SFM_WRITE, &info);
    if (file_ == nullptr) {
        error = sf_strerror(nullptr);
        std::remove(temporaryPath_.c_str());
        temporaryPath_.clear();
        return false;
    }
    path_ = path;
    channels_ = channels;
    framesWritten_ = 0;
    writeError_.clear();
    return true;
}

void WavRecorder::write(const float* samples, int64_t frames) {
    if (file_ == nullptr || !writeError_.empty()) {
        return;
    }
    std::vector<int16_t> pcm;
    for (int64_t done = 0; done < frames; done += kChunkFrames) {
        const int64_t count = std::min(kChunkFrames, frames - done);
        pcm.resize(static_cast<size_t>(count * channels_));
        const float* chunk = samples + done * channels_;
        std::transform(chunk, chunk + pcm.size(), pcm.begin(), toPcm16);
        if (sf_writef_short(file_, pcm.data(), count) != count) {
            writeError_ = sf_strerror(file_);
            return;
        }
        framesWritten_ += count;
    }
}

bool WavRecorder::finish(std::string& error) {
    if (file_ == nullptr) {
        error = "it was never opened";
        return false;
    }
    const int closed = sf_close(file_);
    file_ = nullptr;
    if (writeError_.empty() && closed != 0) {
        writeError_ = sf_error_number(closed);
    }
    if (writeError_.empty() && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        writeError_ = std::strerror(errno);
    }
    if (!writeError_.empty()) {
        error = writeError_;
        std::remove(temporaryPath_.c_str());
    }
    temporaryPath_.clear();
    return writeError_.empty();
}

void WavRecorder::discard() {
    if (file_ != nullptr) {
        sf_close(file_);
        file_ = nullptr;
    }
    if (!temporaryPath_.empty()) {
        std::remove(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}
