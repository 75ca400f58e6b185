#pragma once

#include <string>

// How a font sets text: widths and how far lines reach, in pixels at a given size.
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    virtual float width(const std::string& text, float pixelSize) const = 0;
    virtual float ascent(float pixelSize) const = 0;   // above the baseline, positive
    virtual float descent(float pixelSize) const = 0;  // below the baseline, positive
};
