#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

// Writes interleaved float samples into a 16-bit PCM WAV file with libsndfile. The samples go
// to a temporary file beside the one asked for, which takes its name only once finished: a
// game that ends early leaves no half-written file under that name, and an earlier file of
// that name stays whole until the new one is complete.
class WavRecorder {
  public:
    WavRecorder() = default;
    ~WavRecorder();  // an unfinished file is removed
    WavRecorder(const WavRecorder&) = delete;
    WavRecorder& operator=(const WavRecorder&) = delete;

    // False, with the reason in 'error', when no file can be written there.
    bool open(const std::string& path, int sampleRate, int channels, std::string& error);
    // Appends 'frames' sample frames of 'channels' floats each, clipped to full scale. After a
    // failed write, later ones do nothing and finish reports it.
    void write(const float* samples, int64_t frames);
    // Completes the file under its name; false, with the reason, when it could not be written.
    bool finish(std::string& error);

    bool isOpen() const { return file_ != nullptr; }
    int64_t framesWritten() const { return framesWritten_; }

  private:
    void discard();

    SNDFILE* file_ = nullptr;
    std::string path_;
    std::string temporaryPath_;
    int channels_ = 0;
    int64_t framesWritten_ = 0;
    std::string writeError_;
};
