#pragma once

#include <cstdint>

// Counts the samples each step of game time adds to a recording: after steps that add up to T
// seconds, exactly round(T x rate) samples have been handed out, whatever the steps were. A
// frame's share therefore never drifts from the game's clock, and a replay gives the same
// count per frame on any machine, drawn or fast-forwarded.
class SampleClock {
  public:
    explicit SampleClock(int sampleRate) : rate_(sampleRate) {}

    // The samples of a step of 'seconds' (none for a step of zero or less).
    int64_t advance(double seconds);

    int64_t total() const { return samples_; }
    double seconds() const { return seconds_; }

  private:
    int rate_;
    // Sums of single-precision frame times are exact in double precision for far longer than
    // any game lasts, so the sum is the game's clock.
    double seconds_ = 0.0;
    int64_t samples_ = 0;
};
