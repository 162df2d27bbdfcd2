#pragma once
#include <array>
#include <memory>

#include "platform/drives.h"

namespace kestrane::win32 {

// Drive lookups over the volume API. A look that can hang in the kernel (the volume of a network
// drive whose server does not answer) runs on a worker that is never waited for past its limit.
// Probing an empty removable drive must never put up the system's "insert a disk" box: the
// program that uses these lookups sets its process's error mode for that, once, at its start.
class Win32Drives : public Drives {
 public:
  DriveType Type(char letter) override;
  std::int32_t SerialNumber(char letter) override;
  std::vector<char> Letters() override;
  std::string Label(char letter) override;
  std::vector<DriveFacts> Probe(const std::vector<char>& letters, int limitMs) override;
  LetterTarget Target(char letter) override;

  // One drive's look, on a worker of its own; kept here while it is out.
  struct Flight;

 private:
  std::array<std::shared_ptr<Flight>, 26> flights_;
};

}  // namespace kestrane::win32
