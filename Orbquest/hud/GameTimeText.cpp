#include "hud/GameTimeText.h"

#include <cmath>
#include <cstdio>

namespace {
// Beyond this the tenths would not fit a long long; no game is that long.
constexpr double kLongestShown = 1e12;
}  // namespace

std::string formatGameTime(double seconds) {
    if (!(seconds > 0.0)) {
        seconds = 0.0;
    }
    const long long tenths = std::llround(std::fmin(seconds, kLongestShown) * 10.0);
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, tenths / 10 % 60,
                  tenths % 10);
    return text;
}
