#include "base/ShortestDecimal.h"

#include <cstdio>
#include <cstdlib>

std::string shortestDecimal(float value) {
    char text[32];
    for (int digits = 6;; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (digits >= 9 || static_cast<float>(std::strtod(text, nullptr)) == value) {
            return text;
        }
    }
}
