#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/port.h"

namespace kestrane {

// Drive types as the scripting runtime numbers them.
enum class DriveType { Unknown = 0, Removable = 1, Fixed = 2, Remote = 3, CdRom = 4, RamDisk = 5 };

class Drives : public Port {
 public:
  // Throws FileError 68 when no drive has the letter.
  virtual DriveType Type(char letter) = 0;
  // Throws FileError 68 when no drive has the letter, 71 when it has no medium.
  virtual int32_t SerialNumber(char letter) = 0;
  // The letters of every drive the machine has, upper case, in order.
  virtual std::vector<char> Letters() = 0;
  // The volume label, empty when none or unreadable.
  virtual std::string Label(char letter) = 0;
};

}  // namespace kestrane
