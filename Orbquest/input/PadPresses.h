#pragma once

#include "input/PadState.h"

// Turns a pad's buttons, read once a frame, into presses: a button counts once in the frame it
// goes down, however long it is then held.
class PadPresses {
  public:
    // Takes the frame's reading; pressed() then answers for it.
    void next(const PadState& pad) {
        previous_ = current_;
        current_ = pad.buttons;
    }
    bool pressed(int button) const { return ((current_ & ~previous_) >> button) & 1u; }

  private:
    unsigned current_ = 0;
    unsigned previous_ = 0;
};
