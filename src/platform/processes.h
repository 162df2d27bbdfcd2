#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/port.h"

namespace kestrane {

struct ProcessOutcome {
  bool started = false;
  bool finished = false;  // ended within the limit
  std::uint32_t exitCode = 0;
};

class Processes : public Port {
 public:
  // Starts a command line with a hidden window, found through the program search path, and
  // waits at most limitMs for it to end.
  virtual ProcessOutcome RunHidden(const std::string& commandLine, const std::string& directory,
                                   int limitMs) = 0;
  // Starts a file through the shell with a verb, hidden, and waits at most limitMs for it.
  virtual ProcessOutcome ShellRun(const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& directory,
                                  int limitMs) = 0;
};

}  // namespace kestrane
