#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/port.h"

namespace kestrane {

struct ProcessOutcome {
  bool started = false;
  bool finished = false;  // ended within the limit
  std::uint32_t exitCode = 0;
};

// A run whose standard output was read back, line by line, in the command interpreter's code
// page.
struct CapturedRun {
  ProcessOutcome run;
  std::vector<std::string> lines;
};

// Programs are named by their full path, the command line's first word (quoted where it holds a
// blank): nothing is ever searched for, so a program of the same name in the current folder or
// beside kestrane.exe is never the one that runs. A command line whose program has no full path
// is not started.
class Processes : public Port {
 public:
  // Starts a command line with a hidden window in `directory` (the program's own folder when
  // empty) and waits at most limitMs for it to end.
  virtual ProcessOutcome RunHidden(const std::string& commandLine, const std::string& directory,
                                   int limitMs) = 0;
  // The same, with what the program writes to its standard output read back. A failure to set
  // up the capture is a FileError.
  virtual CapturedRun RunCaptured(const std::string& commandLine, const std::string& directory,
                                  int limitMs) = 0;
};

}  // namespace kestrane
