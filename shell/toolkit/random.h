// The uniform random numbers every window system offers the screens: floats in [0, 1)
// from a seed the window system takes from its clock.
#pragma once

#include <cstdint>
#include <random>

namespace tk {

class UniformRandom {
public:
  void seed(std::uint64_t seed) { engine_.seed(static_cast<std::mt19937::result_type>(seed)); }
  // 24 random bits make every float of [0, 1) on a 2^-24 grid, and never 1.
  float next() {
    constexpr float scale = 1.0F / 16777216.0F;
    return static_cast<float>(engine_() >> 8U) * scale;
  }

private:
  std::mt19937 engine_;
};

} // namespace tk
