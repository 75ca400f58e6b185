#pragma once

#include <string>

#include "app/FrameCapture.h"

// F12, a key of its own outside the render-option table: each press asks for one picture. Key
// events arrive after the swap, when the back buffer is no longer defined, so the main loop
// takes the picture from the next frame it draws, before that frame is swapped.
class ScreenshotKey {
  public:
    // Pictures go to 'folder' (the one the game was started from; empty: the working directory).
    explicit ScreenshotKey(std::string folder);

    // One call per press event of F12; held-key repeats are not presses.
    void press() { ++pending_; }
    bool pending() const { return pending_ > 0; }
    // With a frame of 'width' x 'height' pixels drawn and not yet swapped: writes one file per
    // press since the last frame, each to the next free orbquest-NNNN.png, and prints one line
    // for each, saying where it went or why it could not be written.
    void writePending(int width, int height);
    // The game ended before a requested frame was drawn: says so instead of writing.
    void dropPending();

  private:
    void writeOne();

    std::string folder_;
    int pending_ = 0;
    int lastNumber_ = 0;  // numbers up to this one are taken
    FrameCapture capture_;
};

// "orbquest-0007.png" for 7; more digits once four are not enough.
std::string screenshotFileName(int number);
