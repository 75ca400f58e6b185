#pragma once

// The game keeps its frame clock in single precision, so past some point a short frame time
// no longer moves it and the world stands still. A replay's frame times are checked against
// that clock before they are played, and the recorder picks its frame times by the same rule.
class ReplayClock {
  public:
    // Whether 'repeat' frames of 'frameTime' seconds each, after the frames already added,
    // move the single-precision clock every time; if so they are added.
    bool add(float frameTime, long repeat);
    // The exact sum of the frame times added, in seconds.
    double seconds() const { return seconds_; }

  private:
    double seconds_ = 0.0;
};
