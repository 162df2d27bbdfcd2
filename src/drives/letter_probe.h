#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/os_family.h"

namespace kestrane {

// The two letter lists as a listing found them: entries "E:", network drives in lower case.
struct LetterLists {
  std::vector<std::string> used;
  std::vector<std::string> avail;
  struct Failure {
    char letter = 0;
    int number = 0;
  };
  std::vector<Failure> failures;  // unexpected failures met on the way, in order
};

// What one letter's probe found.
struct LetterCheck {
  bool inUse = false;
  int failure = 0;  // an unexpected failure's number (the letter then counts as in use); 0: none
};

// Why a letter in use cannot be removed.
enum class RemovalRefusal { None, NetworkDrive, NotVirtual };

// Asks the drive layer which letters are taken. Remembers what its last listing saw: the drive
// set, and on the 95 family the CD-ROM letters, which cannot be mapped from there.
class LetterProbe {
 public:
  explicit LetterProbe(Drives& drives) : drives_(drives) {}

  // Probes A to Z. A letter is in use when its volume answers the same serial number twice, or
  // is a network drive, or has no medium, or is substituted for a folder that is gone, or does
  // not answer within kDriveAnswerMs; free when no drive has it. On the 95 family it also
  // records the CD-ROM letters. The lists are kept until the next listing.
  const LetterLists& List(OsFamily family);
  // What the last listing found: what the letter lists show.
  const LetterLists& Listed() const { return lists_; }
  // What the last listing found of each drive, in the order asked; a drive it did not look at
  // is looked at now, with the same bound.
  std::vector<DriveFacts> Facts(const std::vector<char>& letters);
  // One letter, as a mapping asks before it is made: any drive that answers counts as in use.
  LetterCheck Check(char letter);
  // Whether the system's drive set differs from the last listing's: one query when nothing
  // changed.
  bool DriveSetChanged();
  bool IsRecordedCdRom(char drive) const;
  // A letter picked from the used list: a lower-case one is a network drive's; a disk or a disc
  // is no virtual drive.
  RemovalRefusal WhyNotRemovable(const std::string& letter);
  // Whether the system substitutes a folder for the letter now, whether or not that folder is
  // still there.
  bool IsVirtual(char letter);

 private:
  bool Place(const DriveFacts& facts, OsFamily family, LetterLists& lists);

  Drives& drives_;
  std::uint32_t listedDrives_ = 0;     // the drive letters of the last listing, a bit each
  std::array<DriveFacts, 26> seen_{};  // what the last listing found; letter 0: not looked at
  std::array<char, 11> cdLetters_{};
  std::size_t cdCount_ = 0;
  LetterLists lists_;
};

}  // namespace kestrane
