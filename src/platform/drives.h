#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/port.h"

namespace kestrane {

// Drive types as the scripting runtime numbers them.
enum class DriveType { Unknown = 0, Removable = 1, Fixed = 2, Remote = 3, CdRom = 4, RamDisk = 5 };

// What the system says a drive letter stands for.
enum class LetterKind {
  None,     // no drive has the letter, or the system cannot say
  Device,   // a disk, a disc or a network share
  Virtual,  // a folder given a letter of its own
};

struct LetterTarget {
  LetterKind kind = LetterKind::None;
  std::string folder;  // a virtual drive's folder, as it was given the letter
};

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
  // Never throws: a letter the system cannot answer for is LetterKind::None.
  virtual LetterTarget Target(char letter) = 0;
};

}  // namespace kestrane
