#include "drives/letter_probe.h"

#include <cctype>
#include <exception>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

std::string Entry(char letter) { return std::string(1, letter) + ":"; }

// Which letters the system has a drive for, as one mask bit per letter; all of them when it
// cannot say, so every letter is then probed on its own.
std::uint32_t LettersToProbe(Drives& drives) {
  constexpr std::uint32_t kEveryLetter = (1u << 26) - 1;
  try {
    std::uint32_t mask = 0;
    for (const char letter : drives.Letters()) {
      if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
    }
    // No drive at all is not a machine we run on: the answer is a failure.
    return mask != 0 ? mask : kEveryLetter;
  } catch (const std::exception&) {
    return kEveryLetter;
  }
}

int FailureNumber(const std::exception& e) {
  const auto* fe = dynamic_cast<const FileError*>(&e);
  return fe != nullptr ? fe->Number() : err::kInvalidCall;
}

// The number a drive's probe failed with, as a listing judges it; -1 when it did not answer.
int FailureOf(const DriveFacts& facts) {
  if (!facts.answered) return -1;
  if (facts.typeFailure != 0) return facts.typeFailure;
  return facts.type == DriveType::Remote ? 0 : facts.volumeFailure;
}

std::size_t Slot(char letter) { return static_cast<std::size_t>(letter - 'A'); }

}  // namespace

const LetterLists& LetterProbe::List(OsFamily family) {
  LetterLists lists;
  cdLetters_ = {};
  cdCount_ = 0;
  seen_ = {};
  // A letter the system lists no drive for would only answer "no drive" to its probe; one query
  // for all of them spares two dozen round trips to the drive layer.
  listedDrives_ = LettersToProbe(drives_);
  std::vector<char> asked;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if ((listedDrives_ >> Slot(letter) & 1u) != 0) asked.push_back(letter);
  }
  const std::vector<DriveFacts> facts = drives_.Probe(asked, kDriveAnswerMs);
  std::size_t next = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    bool taken = false;
    if (next < asked.size() && asked[next] == letter) {
      DriveFacts found = facts[next++];
      found.letter = letter;
      seen_[Slot(letter)] = found;
      taken = Place(found, family, lists);
    }
    if (!taken) lists.avail.push_back(Entry(letter));
  }
  // A drive caught half made or half removed (by the subst just run, or by another program)
  // fails its probe for a moment. Only a letter that still fails the same way once the pass is
  // over is reported; the next listing shows the others as they have become.
  if (!lists.failures.empty()) {
    std::vector<char> failed;
    for (const auto& f : lists.failures) failed.push_back(f.letter);
    const std::vector<DriveFacts> again = drives_.Probe(failed, kDriveAnswerMs);
    std::vector<LetterLists::Failure> lasting;
    for (std::size_t i = 0; i < failed.size(); ++i) {
      if (i < again.size() && FailureOf(again[i]) == lists.failures[i].number) {
        lasting.push_back(lists.failures[i]);
      }
    }
    lists.failures = std::move(lasting);
  }
  lists_ = std::move(lists);
  return lists_;
}

std::vector<DriveFacts> LetterProbe::Facts(const std::vector<char>& letters) {
  std::vector<DriveFacts> out(letters.size());
  std::vector<char> missing;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const char letter = letters[i];
    if (letter >= 'A' && letter <= 'Z' && seen_[Slot(letter)].letter == letter) {
      out[i] = seen_[Slot(letter)];
    } else {
      missing.push_back(letter);
    }
  }
  if (missing.empty()) return out;
  const std::vector<DriveFacts> looked = drives_.Probe(missing, kDriveAnswerMs);
  std::size_t next = 0;
  for (std::size_t i = 0; i < letters.size() && next < looked.size(); ++i) {
    if (letters[i] == missing[next]) {
      out[i] = looked[next++];
      out[i].letter = letters[i];
    }
  }
  return out;
}

bool LetterProbe::Place(const DriveFacts& facts, OsFamily family, LetterLists& lists) {
  const char letter = facts.letter;
  // The system lists the drive, but it has not answered (a network drive whose server is out of
  // reach): taken, as far as anyone can tell, and no alarm. The next listing asks it again.
  if (!facts.answered) {
    lists.used.push_back(Entry(letter));
    return true;
  }
  int number = facts.typeFailure;
  if (number == 0) {
    if (facts.type == DriveType::Remote) {
      lists.used.push_back(Entry(AsciiLower(letter)));
      return true;
    }
    number = facts.volumeFailure;
  }
  if (number == 0) {
    if (facts.type == DriveType::CdRom && family == OsFamily::W95 && cdCount_ < cdLetters_.size()) {
      cdLetters_[cdCount_++] = letter;
    }
    if (facts.serialAgain == facts.serial) lists.used.push_back(Entry(letter));
    return true;
  }
  // A virtual drive whose folder was deleted, or is on a stick that was pulled, answers no
  // type; the system still substitutes it, so it can be removed and not mapped again.
  if (number == err::kDeviceUnavailable) {
    if (!IsVirtual(letter)) return false;
    lists.used.push_back(Entry(letter));
    return true;
  }
  // No medium, or an unexpected failure: the letter is taken and listed as a local drive. A
  // virtual drive that fails is one subst (here or in another program) is still making or
  // removing: in use for now, and no alarm.
  if (number != err::kDiskNotReady && !IsVirtual(letter)) {
    lists.failures.push_back({letter, number});
  }
  lists.used.push_back(Entry(letter));
  return true;
}

LetterCheck LetterProbe::Check(char letter) {
  try {
    drives_.Type(letter);
    return {true, 0};
  } catch (const std::exception& e) {
    const int number = FailureNumber(e);
    if (number == err::kDeviceUnavailable) return {IsVirtual(letter), 0};
    return {true, number == err::kDiskNotReady ? 0 : number};
  }
}

bool LetterProbe::DriveSetChanged() { return LettersToProbe(drives_) != listedDrives_; }

bool LetterProbe::IsRecordedCdRom(char drive) const {
  const char upper = AsciiUpper(drive);
  for (std::size_t i = 0; i < cdCount_; ++i) {
    if (cdLetters_[i] == upper) return true;
  }
  return false;
}

bool LetterProbe::IsVirtual(char letter) {
  return drives_.Target(letter).kind == LetterKind::Virtual;
}

RemovalRefusal LetterProbe::WhyNotRemovable(const std::string& letter) {
  if (std::islower(static_cast<unsigned char>(letter[0])) != 0) return RemovalRefusal::NetworkDrive;
  // subst would refuse a disk or a disc; nothing is asked or run for one.
  if (drives_.Target(letter[0]).kind == LetterKind::Device) return RemovalRefusal::NotVirtual;
  return RemovalRefusal::None;
}

}  // namespace kestrane
