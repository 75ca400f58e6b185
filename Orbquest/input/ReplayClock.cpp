#include "input/ReplayClock.h"

#include <cmath>
#include <limits>

namespace {

// Distance from x to the next larger float.
double floatStep(double x) {
    const float f = static_cast<float>(x);
    return static_cast<double>(std::nextafter(f, std::numeric_limits<float>::infinity()) - f);
}

}  // namespace

// Each single-precision addition rounds by at most half a step of the sum. While every frame
// time is at least one whole step at twice the exact total, the rounding stays under half a
// frame time, so the float clock stays below twice the exact total and moves on every frame.
bool ReplayClock::add(float frameTime, long repeat) {
    const double end = seconds_ + static_cast<double>(frameTime) * static_cast<double>(repeat);
    // Written so that a step that is not a number (a total past the float range) refuses too.
    if (!(frameTime > 0.0f) || !(static_cast<double>(frameTime) >= floatStep(2.0 * end))) {
        return false;
    }
    seconds_ = end;
    return true;
}
