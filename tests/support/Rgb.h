#pragma once

#include <ostream>

// A colour read back from a picture, each channel 0 to 255.
struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
    double luminance() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
