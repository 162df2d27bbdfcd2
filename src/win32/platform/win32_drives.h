#pragma once
#include "platform/drives.h"

namespace kestrane::win32 {

// Drive lookups over the volume API. Probing an empty removable drive must never put up the
// system's "insert a disk" box, so the process's error mode is set once here.
class Win32Drives : public Drives {
 public:
  Win32Drives();
  DriveType Type(char letter) override;
  std::int32_t SerialNumber(char letter) override;
  std::vector<char> Letters() override;
  std::string Label(char letter) override;
  LetterTarget Target(char letter) override;
};

}  // namespace kestrane::win32
