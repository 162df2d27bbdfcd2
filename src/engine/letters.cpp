#include <cctype>
#include <cstdint>
#include <exception>
#include <string>

#include "app/frm_qor_pro.h"
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

}  // namespace

void frmQOR_Pro::RefreshLetters() { ListLetters(ProbeFailures::Shown); }

bool frmQOR_Pro::CheckDrive(char letter) { return ProbeLetter(letter, ProbeFailures::Shown); }

void frmQOR_Pro::ListLetters(ProbeFailures failures) {
  auto& c = ports_.controls;
  try {
    c.ListClear(ControlId::lstAvail);
    c.ListClear(ControlId::lstUsedLtrs);
    redo = 0;
    // A letter the system lists no drive for would only answer "no drive" to its probe; one
    // query for all of them spares two dozen round trips to the drive layer.
    const std::uint32_t present = LettersToProbe(ports_.drives);
    listedDrives_ = present;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      const bool probed = (present >> (letter - 'A') & 1u) != 0;
      if (!probed || !ProbeLetter(letter, failures)) c.ListAdd(ControlId::lstAvail, Entry(letter));
    }
    if (redo == 0) StartListing();
    // Only start-up calls this with the data file open; later the read has nothing to read.
    if (!file1_) Fail(err::kBadFileName);
    m_.DataRec = DataRecord::Decode(file1_->Read(kLiveRecord));
  } catch (const std::exception&) {
    // The lists keep what was added so far; nothing is reported.
  }
}

void frmQOR_Pro::CheckDriveSet() {
  if (LettersToProbe(ports_.drives) == listedDrives_) return;
  // The letter the user had picked stays picked where it still stands in its list.
  const std::string avail = SelectedEntry(ControlId::lstAvail);
  const std::string used = SelectedEntry(ControlId::lstUsedLtrs);
  // Nobody asked for this listing: a drive caught half made or half removed by another program
  // counts as in use without a box, and the next check lists it as it has become.
  ListLetters(ProbeFailures::Hushed);
  Reselect(ControlId::lstAvail, avail);
  Reselect(ControlId::lstUsedLtrs, used);
  RefreshDriveList();
}

std::string frmQOR_Pro::SelectedEntry(ControlId list) const {
  const int index = ports_.controls.ListIndex(list);
  return index < 0 ? std::string() : ports_.controls.ListItem(list, index);
}

void frmQOR_Pro::Reselect(ControlId list, const std::string& entry) {
  if (entry.empty()) return;
  auto& c = ports_.controls;
  for (int i = 0, n = c.ListCount(list); i < n; ++i) {
    if (c.ListItem(list, i) == entry) {
      c.ListSelect(list, i);
      return;
    }
  }
}

void frmQOR_Pro::ShowProbeFailure(int number, ProbeFailures failures) {
  if (failures == ProbeFailures::Hushed) return;
  ports_.dialogs.MessageBox(std::to_string(number), "Error Number:", Buttons::Ok, Icon::Critical);
}

void frmQOR_Pro::StartListing() {
  cdCount_ = 0;
  redo = 1;
}

bool frmQOR_Pro::ProbeLetter(char letter, ProbeFailures failures) {
  auto& c = ports_.controls;
  if (redo == 0) StartListing();
  try {
    const DriveType type = ports_.drives.Type(letter);
    if (type == DriveType::Remote) {
      c.ListAdd(ControlId::lstUsedLtrs,
                Entry(static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))));
      return true;
    }
    if (redo == 2) return true;
    // The letter is listed when its volume answers the same serial number twice.
    const std::int32_t serial = ports_.drives.SerialNumber(letter);
    if (type == DriveType::CdRom && m_.OSFamily == kFamily95 && cdCount_ < m_.CdLetters.size()) {
      m_.CdLetters[cdCount_] = letter;
      ++cdCount_;
    }
    if (ports_.drives.SerialNumber(letter) == serial)
      c.ListAdd(ControlId::lstUsedLtrs, Entry(letter));
    return true;
  } catch (const FileError& e) {
    if (e.Number() == err::kDeviceUnavailable) return false;
    if (e.Number() == err::kDiskNotReady) {
      c.ListAdd(ControlId::lstUsedLtrs, Entry(letter));
      return true;
    }
    ShowProbeFailure(e.Number(), failures);
  } catch (const std::exception&) {
    ShowProbeFailure(err::kInvalidCall, failures);
  }
  // An unexpected failure: the letter counts as in use and is listed as a local drive.
  if (redo != 2) c.ListAdd(ControlId::lstUsedLtrs, Entry(letter));
  return true;
}

}  // namespace kestrane
