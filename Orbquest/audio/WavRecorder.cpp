#include "audio/WavRecorder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Frames converted per write.
constexpr int64_t kChunkFrames = 4096;
constexpr int kHeaderBytes = 44;
constexpr int kBytesPerSample = 2;
// The RIFF sizes are 32-bit.
constexpr uint64_t kMaxDataBytes = 0xffffffffu - (kHeaderBytes - 8);

void putLittleEndian(std::vector<unsigned char>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

void putText(std::vector<unsigned char>& bytes, const char* text) {
    bytes.insert(bytes.end(), text, text + 4);
}

// The sizes are filled in when the file is finished.
std::vector<unsigned char> header(int sampleRate, int channels, uint32_t dataBytes) {
    std::vector<unsigned char> bytes;
    putText(bytes, "RIFF");
    putLittleEndian(bytes, dataBytes + kHeaderBytes - 8, 4);
    putText(bytes, "WAVE");
    putText(bytes, "fmt ");
    putLittleEndian(bytes, 16, 4);  // the format chunk's size
    putLittleEndian(bytes, 1, 2);   // integer PCM
    putLittleEndian(bytes, static_cast<uint32_t>(channels), 2);
    putLittleEndian(bytes, static_cast<uint32_t>(sampleRate), 4);
    putLittleEndian(bytes, static_cast<uint32_t>(sampleRate * channels * kBytesPerSample), 4);
    putLittleEndian(bytes, static_cast<uint32_t>(channels * kBytesPerSample), 2);
    putLittleEndian(bytes, 8 * kBytesPerSample, 2);
    putText(bytes, "data");
    putLittleEndian(bytes, dataBytes, 4);
    return bytes;
}

uint32_t toPcm16(float sample) {
    const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
    return static_cast<uint16_t>(static_cast<int16_t>(value));
}

}  // namespace

bool WavRecorder::open(const std::string& path, int sampleRate, int channels, std::string& error) {
    const std::vector<unsigned char> start = header(sampleRate, channels, 0);
    if (!file_.open(path) || !file_.write(start.data(), start.size())) {
        error = file_.error();
        file_.discard();
        return false;
    }
    channels_ = channels;
    framesWritten_ = 0;
    tooLong_.clear();
    return true;
}

void WavRecorder::write(const float* samples, int64_t frames) {
    if (!file_.isOpen() || file_.failed() || !tooLong_.empty()) {
        return;
    }
    std::vector<unsigned char> pcm;
    for (int64_t done = 0; done < frames; done += kChunkFrames) {
        const int64_t count = std::min(kChunkFrames, frames - done);
        const float* chunk = samples + done * channels_;
        pcm.clear();
        for (int64_t i = 0; i < count * channels_; ++i) {
            putLittleEndian(pcm, toPcm16(chunk[i]), kBytesPerSample);
        }
        if (file_.size() - kHeaderBytes + pcm.size() > kMaxDataBytes) {
            tooLong_ = "the sound is longer than a WAV file can hold (4 GiB)";
            return;
        }
        if (!file_.write(pcm.data(), pcm.size())) {
            return;
        }
        framesWritten_ += count;
    }
}

bool WavRecorder::finish(std::string& error) {
    if (!file_.isOpen()) {
        error = file_.failed() ? file_.error() : "it was never opened";
        return false;
    }
    if (!tooLong_.empty()) {
        error = tooLong_;
        file_.discard();
        return false;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(file_.size() - kHeaderBytes);
    const std::vector<unsigned char> sizes = header(0, 0, dataBytes);
    // The RIFF chunk's size at byte 4, the data chunk's at byte 40; after a failed write these
    // do nothing and the commit removes the file.
    file_.writeAt(4, &sizes[4], 4);
    file_.writeAt(40, &sizes[40], 4);
    if (!file_.commit()) {
        error = file_.error();
        return false;
    }
    return true;
}
