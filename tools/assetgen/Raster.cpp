#include "Raster.h"

#include <algorithm>
#include <cmath>

#include <FreeImage.h>

#include "base/Random.h"

namespace assetgen {

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

void Image::render(int samples, const std::function<Rgba(glm::dvec2 uv)>& shade) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            // Averaged premultiplied and in a gamma-2 approximation of linear light, so
            // anti-aliased edges do not come out darker than either side.
            glm::dvec3 sum(0.0);
            double alpha = 0.0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    glm::dvec2 uv((x + (sx + 0.5) / samples) / width_,
                                  (y + (sy + 0.5) / samples) / height_);
                    Rgba c = shade(uv);
                    sum += c.rgb * c.rgb * c.a;
                    alpha += c.a;
                }
            }
            Rgba& out = pixels_[static_cast<size_t>(y) * width_ + x];
            out.a = alpha / (samples * samples);
            out.rgb = alpha > 0 ? glm::sqrt(sum / alpha) : glm::dvec3(0.0);
        }
    }
}

bool Image::savePng(const std::string& path) const {
    FIBITMAP* bitmap = FreeImage_Allocate(width_, height_, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                          FI_RGBA_BLUE_MASK);
    if (bitmap == nullptr) {
        return false;
    }
    auto byte = [](double c) {
        return static_cast<BYTE>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0));
    };
    for (int y = 0; y < height_; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);  // scan line 0 is the bottom row
        for (int x = 0; x < width_; ++x) {
            const Rgba& p = pixels_[static_cast<size_t>(y) * width_ + x];
            BYTE* texel = row + 4 * x;
            texel[FI_RGBA_RED] = byte(p.rgb.r);
            texel[FI_RGBA_GREEN] = byte(p.rgb.g);
            texel[FI_RGBA_BLUE] = byte(p.rgb.b);
            texel[FI_RGBA_ALPHA] = byte(p.a);
        }
    }
    // FreeImage stores a bitmap whose texels are all opaque as a 24-bit PNG. One corner
    // texel at alpha 254 (invisible) keeps the alpha channel, so every image loads as 32-bit.
    bool opaque = std::all_of(pixels_.begin(), pixels_.end(),
                              [&](const Rgba& p) { return byte(p.a) == 255; });
    if (opaque) {
        FreeImage_GetScanLine(bitmap, 0)[FI_RGBA_ALPHA] = 254;
    }
    bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    return saved;
}

double circleDistance(glm::dvec2 p, glm::dvec2 centre, double radius) {
    return glm::length(p - centre) - radius;
}

double segmentDistance(glm::dvec2 p, glm::dvec2 a, glm::dvec2 b, double halfWidth) {
    glm::dvec2 ab = b - a;
    double t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0, 1.0);
    return glm::length(p - (a + ab * t)) - halfWidth;
}

double arcDistance(glm::dvec2 p, glm::dvec2 centre, double radius, double from, double to,
                   double halfWidth) {
    constexpr double kTwoPi = 6.28318530717958647692;
    glm::dvec2 d = p - centre;
    double angle = std::atan2(d.y, d.x);
    // Bring the angle into [from, from + 2pi) before testing the span.
    angle = from + std::fmod(std::fmod(angle - from, kTwoPi) + kTwoPi, kTwoPi);
    if (angle <= to) {
        return std::abs(glm::length(d) - radius) - halfWidth;
    }
    glm::dvec2 a = centre + radius * glm::dvec2(std::cos(from), std::sin(from));
    glm::dvec2 b = centre + radius * glm::dvec2(std::cos(to), std::sin(to));
    return std::min(glm::length(p - a), glm::length(p - b)) - halfWidth;
}

double ellipseDistance(glm::dvec2 p, glm::dvec2 centre, glm::dvec2 radii) {
    glm::dvec2 q = (p - centre) / radii;
    return (glm::length(q) - 1.0) * std::min(radii.x, radii.y);
}

double periodicNoise(glm::dvec2 p, int period, uint32_t seed) {
    glm::dvec2 cell = glm::floor(p);
    glm::dvec2 f = p - cell;
    glm::dvec2 w = f * f * f * (f * (f * 6.0 - 15.0) + 10.0);  // quintic fade
    auto lattice = [&](int dx, int dy) {
        int x = (static_cast<int>(cell.x) + dx) % period;
        int y = (static_cast<int>(cell.y) + dy) % period;
        x += x < 0 ? period : 0;
        y += y < 0 ? period : 0;
        return (hash32(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) >> 8) / 16777215.0;
    };
    double bottom = glm::mix(lattice(0, 0), lattice(1, 0), w.x);
    double top = glm::mix(lattice(0, 1), lattice(1, 1), w.x);
    return glm::mix(bottom, top, w.y);
}

}  // namespace assetgen
