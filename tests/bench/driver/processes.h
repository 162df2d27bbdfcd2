#pragma once

// Processes as the floors run them, and what the driver reads of another process.

#include <windows.h>

#include <string>

namespace bench {

// How a floor command is started without a window. The program runs subst detached (no console
// at all); a command interpreter stands for the shell's "open", which gives it a hidden console.
enum class Hidden : DWORD { Detached = DETACHED_PROCESS, HiddenConsole = CREATE_NO_WINDOW };

// Starts a command line hidden and waits for its end.
double RunHiddenMs(const std::wstring& commandLine, Hidden how, const std::wstring& folder = {});

struct CpuReading {
  double ms = -1;  // negative: unknown
  const char* source = "";
};
// User plus kernel time of `process` so far.
CpuReading CpuTimeMs(HANDLE process, const std::wstring& imageName);

double PeakWorkingSetMiB(HANDLE process);
double FileSizeKiB(const std::wstring& path);

}  // namespace bench
