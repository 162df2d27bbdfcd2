#pragma once

// Processes as the floors run them, and what the driver reads of another process.

#include <windows.h>

#include <string>

namespace bench {

// Starts a command line hidden, the way the program runs subst, and waits for its end.
double RunHiddenMs(const std::wstring& commandLine, const std::wstring& folder = {});

struct CpuReading {
  double ms = -1;  // negative: unknown
  const char* source = "";
};
// User plus kernel time of `process` so far.
CpuReading CpuTimeMs(HANDLE process, const std::wstring& imageName);

double PeakWorkingSetMiB(HANDLE process);
double FileSizeKiB(const std::wstring& path);

}  // namespace bench
