#include "win32/platform/win32_clock.h"

#include <windows.h>

namespace kestrane::win32 {

std::int64_t Win32Clock::NowMs() { return static_cast<std::int64_t>(GetTickCount64()); }

void Win32Clock::SleepMs(std::int64_t ms) {
  // Sleep takes a DWORD, and INFINITE (all bits set) would never return.
  while (ms > 0) {
    const DWORD chunk = ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
    Sleep(chunk);
    ms -= chunk;
  }
}

}  // namespace kestrane::win32
