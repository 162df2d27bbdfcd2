#pragma once
#include <cstdint>

#include "platform/port.h"

namespace kestrane {

class Clock : public Port {
 public:
  // Milliseconds on a monotonic clock.
  virtual std::int64_t NowMs() = 0;
  // Blocks without processing input.
  virtual void SleepMs(std::int64_t ms) = 0;
};

}  // namespace kestrane
