// The program's clock: steady time since start, never wall time.
#pragma once

#include "toolkit/timer.h"

#include <chrono>

namespace qtb {

class SteadyClock : public tk::Clock {
public:
  [[nodiscard]] tk::Millis now() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
  }

private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace qtb
