#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

// sRGB colour with straight (not premultiplied) alpha, every channel in [0, 1].
struct Rgba {
    glm::dvec3 rgb;
    double a = 1.0;
};

// Paints colour over base where coverage (0..1) says; a painted layer is opaque.
inline Rgba paint(Rgba base, glm::dvec3 colour, double coverage) {
    base.rgb = glm::mix(base.rgb, colour, coverage);
    base.a = base.a + (1.0 - base.a) * coverage;
    return base;
}

class Image {
  public:
    Image(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Each pixel becomes the average of samples x samples calls of shade(u, v) spread
    // evenly over it. u runs left to right and v bottom to top, both over [0, 1], which is
    // how the game samples a texture uploaded from FreeImage's bottom-up rows.
    void render(int samples, const std::function<Rgba(glm::dvec2 uv)>& shade);

    // Writes a PNG that loads as 32-bit RGBA, even when every texel is opaque.
    bool savePng(const std::string& path) const;

  private:
    int width_;
    int height_;
    std::vector<Rgba> pixels_;  // bottom row first
};

// Signed distances in a 2-D plane: negative inside, positive outside.
double circleDistance(glm::dvec2 p, glm::dvec2 centre, double radius);
double segmentDistance(glm::dvec2 p, glm::dvec2 a, glm::dvec2 b, double halfWidth);
// Stroke of half width along the arc of radius around centre between two angles
// (radians, counter-clockwise from +x, from < to), with round ends.
double arcDistance(glm::dvec2 p, glm::dvec2 centre, double radius, double from, double to,
                   double halfWidth);
// Not a true distance, but negative exactly inside the ellipse, and about a distance near
// its edge for the sizes we draw.
double ellipseDistance(glm::dvec2 p, glm::dvec2 centre, glm::dvec2 radii);

// 1 inside, 0 outside; anti-aliasing comes from supersampling.
inline double inside(double distance) {
    return distance < 0.0 ? 1.0 : 0.0;
}

// Smooth value noise in [0, 1] that repeats every period lattice cells along x and y, so
// a texture built from it tiles when period divides the texture's lattice size.
double periodicNoise(glm::dvec2 p, int period, uint32_t seed);

}  // namespace assetgen
