#include "audio/SampleClock.h"

#include <cmath>

int64_t SampleClock::advance(double seconds) {
    if (!(seconds > 0.0)) {
        return 0;
    }
    seconds_ += seconds;
    const int64_t due = std::llround(seconds_ * rate_);
    const int64_t step = due - samples_;
    samples_ = due;
    return step;
}
