#pragma once

#include <cstdint>

namespace assetgen {

// Our own generator and hash so the assets do not depend on the standard library's
// distributions, which differ between implementations.
class Pcg32 {
  public:
    explicit Pcg32(uint64_t seed) {
        next();
        state_ += seed;
        next();
    }

    uint32_t next() {
        uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
        uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        uint32_t rot = static_cast<uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }

    // Uniform in [0, 1), built from 24 bits so the value is exact in float and double.
    double uniform() { return static_cast<double>(next() >> 8) / 16777216.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

  private:
    uint64_t state_ = 0;
};

inline uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

inline uint32_t hash32(uint32_t x, uint32_t y, uint32_t seed) {
    return hash32(x ^ hash32(y ^ hash32(seed)));
}

}  // namespace assetgen
