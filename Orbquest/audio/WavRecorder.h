#pragma once

#include <cstdint>
#include <string>

#include "base/AtomicFile.h"

// Writes interleaved float samples into a 16-bit PCM WAV file (the canonical 44-byte header).
// The samples go to a temporary file beside the one asked for, which takes its name only once
// finished: a game that ends early leaves no half-written file under that name, and an earlier
// file of that name stays whole until the new one is complete.
class WavRecorder {
  public:
    // False, with the reason in 'error', when no file can be written there.
    bool open(const std::string& path, int sampleRate, int channels, std::string& error);
    // Appends 'frames' sample frames of 'channels' floats each, clipped to full scale. After a
    // failed write, later ones do nothing and finish reports it.
    void write(const float* samples, int64_t frames);
    // Completes the file under its name; false, with the reason, when it could not be written.
    bool finish(std::string& error);
    // Removes the unfinished file; what was under its name stays.
    void discard() { file_.discard(); }

    bool isOpen() const { return file_.isOpen(); }
    int64_t framesWritten() const { return framesWritten_; }

  private:
    AtomicFile file_;
    int channels_ = 0;
    int64_t framesWritten_ = 0;
    std::string tooLong_;  // why the samples stopped going in, when they outgrew the format
};
