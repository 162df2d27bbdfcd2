#pragma once
#include "platform/clock.h"

namespace kestrane::win32 {

class Win32Clock : public Clock {
 public:
  std::int64_t NowMs() override;
  void SleepMs(std::int64_t ms) override;
};

}  // namespace kestrane::win32
