#pragma once

// What the driver reads of another process.

#include <windows.h>

#include <string>

namespace bench {

struct CpuReading {
  double ms = -1;  // negative: unknown
  const char* source = "";
};
// User plus kernel time of `process` so far.
CpuReading CpuTimeMs(HANDLE process, const std::wstring& imageName);

double PeakWorkingSetMiB(HANDLE process);
double FileSizeKiB(const std::wstring& path);

}  // namespace bench
