#pragma once

#include <cstdint>

// Our own generator and hash, so that the asset generator and the tests draw the same numbers
// with any standard library: its distributions differ between implementations.
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
    // Uniform in [0, n) for n >= 1, scaled from 32 bits rather than taken modulo n.
    uint32_t below(uint32_t n) {
        return static_cast<uint32_t>((static_cast<uint64_t>(next()) * n) >> 32u);
    }
    bool chance(double p) { return uniform() < p; }

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
