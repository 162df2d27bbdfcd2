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

// How long a question to the drives (a listing's probes, all of them together, or one folder's
// listing) waits for its answer; a drive that has not answered by then counts as in use.
inline constexpr int kDriveAnswerMs = 1500;

// What one look at a drive found: its type, then its volume's serial number, read twice (a
// drive caught being made or removed answers two different ones), and its label.
struct DriveFacts {
  char letter = 0;
  bool answered = false;  // false: no answer came within the limit, and nothing below holds
  int typeFailure = 0;    // the FileError number Type would have thrown; 0: `type` holds
  DriveType type = DriveType::Unknown;
  int volumeFailure = 0;  // the number SerialNumber would have thrown; 0: the rest holds
  std::int32_t serial = 0;
  std::int32_t serialAgain = 0;
  std::string label;
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
  // Looks at each drive as Type, SerialNumber (twice) and Label would, the drives all at once,
  // and waits at most limitMs for them together: a network drive whose server is gone, or a
  // disc spinning up, must not hold the others. One in order per letter asked. A drive still
  // being looked at for an earlier call is not asked again meanwhile. Never throws.
  virtual std::vector<DriveFacts> Probe(const std::vector<char>& letters, int limitMs) = 0;
  // Never throws: a letter the system cannot answer for is LetterKind::None.
  virtual LetterTarget Target(char letter) = 0;
};

}  // namespace kestrane
