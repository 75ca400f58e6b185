#pragma once

#include <glm/glm.hpp>

namespace assetgen {

// colour.png is a row of equal vertical bands in this order; on the sphere they run pole
// to pole like a beach ball, and the duck's uvs point at band centres.
enum class Band { Red, White, Blue, Yellow, Green, Orange, Dark, Purple, Count };

constexpr int kBandCount = static_cast<int>(Band::Count);

// sRGB colour of each band, indexed by Band.
constexpr glm::dvec3 kBandColours[kBandCount] = {
    {0.89, 0.12, 0.13},  // red
    {0.97, 0.97, 0.95},  // white
    {0.10, 0.36, 0.86},  // blue
    {1.00, 0.84, 0.10},  // yellow
    {0.18, 0.72, 0.25},  // green
    {1.00, 0.50, 0.06},  // orange
    {0.06, 0.05, 0.07},  // dark
    {0.58, 0.22, 0.74},  // purple
};

inline glm::dvec2 bandUv(Band band) {
    return {(static_cast<int>(band) + 0.5) / kBandCount, 0.5};
}

}  // namespace assetgen
