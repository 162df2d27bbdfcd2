#include <cctype>
#include <exception>
#include <string>

#include "app/frm_qor_pro.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

std::string Entry(char letter) { return std::string(1, letter) + ":"; }

}  // namespace

void frmQOR_Pro::RefreshLetters() {
  auto& c = ports_.controls;
  try {
    c.ListClear(ControlId::lstAvail);
    c.ListClear(ControlId::lstUsedLtrs);
    redo = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (!CheckDrive(letter)) c.ListAdd(ControlId::lstAvail, Entry(letter));
    }
    // Only start-up calls this with the data file open; later the read has nothing to read.
    if (!file1_) Fail(err::kBadFileName);
    m_.DataRec = DataRecord::Decode(file1_->Read(kLiveRecord));
  } catch (const std::exception&) {
    // The lists keep what was added so far; nothing is reported.
  }
}

bool frmQOR_Pro::CheckDrive(char letter) {
  auto& c = ports_.controls;
  if (redo == 0) {
    usedCount_ = 1;
    cdCount_ = 0;
    redo = 1;
  }
  try {
    const DriveType type = ports_.drives.Type(letter);
    if (type == DriveType::Remote) {
      ++usedCount_;
      c.ListAdd(ControlId::lstUsedLtrs,
                Entry(static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))));
      return true;
    }
    if (redo == 2) return true;
    const std::int32_t serial = ports_.drives.SerialNumber(letter);
    if (usedCount_ < serials_.size()) serials_[usedCount_] = serial;
    if (type == DriveType::CdRom && m_.OSFamily == "W95" && cdCount_ < m_.CdLetters.size()) {
      m_.CdLetters[cdCount_] = letter;
      ++cdCount_;
    }
    if (ports_.drives.SerialNumber(letter) == serial) c.ListAdd(ControlId::lstUsedLtrs, Entry(letter));
    ++usedCount_;
    return true;
  } catch (const FileError& e) {
    if (e.Number() == err::kDeviceUnavailable) return false;
    if (e.Number() == err::kDiskNotReady) {
      c.ListAdd(ControlId::lstUsedLtrs, Entry(letter));
      ++usedCount_;
      return true;
    }
    ports_.dialogs.MessageBox(std::to_string(e.Number()), "Error Number:", Buttons::Ok,
                              Icon::Critical);
  } catch (const std::exception&) {
    ports_.dialogs.MessageBox(std::to_string(5), "Error Number:", Buttons::Ok,
                              Icon::Critical);
  }
  // An unexpected failure: the letter counts as in use and is listed as a local drive.
  if (redo != 2) c.ListAdd(ControlId::lstUsedLtrs, Entry(letter));
  return true;
}

}  // namespace kestrane
