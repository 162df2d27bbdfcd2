#pragma once
#include "platform/processes.h"

namespace kestrane::win32 {

// Starts programs without a window and waits for them on their process handle; a program still
// running at the limit is left to finish on its own.
class Win32Processes : public Processes {
 public:
  ProcessOutcome RunHidden(const std::string& commandLine, const std::string& directory,
                           int limitMs) override;
  CapturedRun RunCaptured(const std::string& commandLine, const std::string& directory,
                          int limitMs) override;
};

}  // namespace kestrane::win32
