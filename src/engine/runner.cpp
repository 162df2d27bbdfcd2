#include "engine/runner.h"

#include <cctype>
#include <exception>
#include <string>

#include "app/frm_qor_pro.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

// Nothing in the folder could end the quotes early or start a second argument.
bool QuotesSafely(const std::string& folder) {
  for (const char ch : folder) {
    if (ch == '"' || static_cast<unsigned char>(ch) < 32) return false;
  }
  return true;
}

char DriveOf(const std::string& folder) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
}

SubstOutcome Refusal(std::uint8_t code) { return {SubstStatus::Refused, code}; }

}  // namespace

std::string CommandArgument(const std::string& folder) {
  const std::size_t kept = folder.find_last_not_of('\\') + 1;
  return '"' + folder + std::string(folder.size() - kept, '\\') + '"';
}

std::uint8_t FolderTextRefusal(const std::string& text) {
  if (text.empty()) return kNoPathSelected;
  if (text.size() >= 2 && (text[0] == '\\' || text[0] == '/') &&
      (text[1] == '\\' || text[1] == '/')) {
    return kNetworkDrive;
  }
  if (text.size() < 2 || std::isalpha(static_cast<unsigned char>(text[0])) == 0 || text[1] != ':') {
    return kPathNotFound;
  }
  return 0;
}

SubstOutcome frmQOR_Pro::RunSubst(const SubstRequest& request) {
  ports_.controls.SetMousePointer(MousePointer::Hourglass);
  try {
    // Whatever reaches the command line is a plain drive letter and nothing else.
    if (!IsPlainLetter(request.letter)) return Refusal(kNoLetter);
    redo = 2;
    if (CheckDrive(request.letter[0])) {
      if (!request.remove) return {SubstStatus::InUse, kLetterInUse};
    } else if (!request.remove) {
      if (const std::uint8_t refusal = CheckTarget(request.folder); refusal != 0) {
        return Refusal(refusal);
      }
    }
    // A delete request for a letter that is free already skips the folder checks: they are
    // about a folder that plays no part in it, and subst itself answers for the letter.
    return StartSubst(request);
  } catch (const std::exception&) {
    // For example subst.exe missing: the request ends here, the program goes on.
    return {SubstStatus::NotStarted, kUnknownFailure};
  }
}

std::uint8_t frmQOR_Pro::CheckTarget(const std::string& folder) {
  auto& c = ports_.controls;
  c.SetText(ControlId::txtPath, Hold);
  const bool includeHidden = Hidden;
  Hidden = false;
  if (const std::uint8_t refusal = FolderTextRefusal(folder); refusal != 0) return refusal;
  if (!QuotesSafely(folder)) return kPathNotFound;
  bool found = false;
  try {
    found = ports_.files.DirectoryExists(folder, includeHidden);
  } catch (const FileError&) {
    found = false;  // a drive that cannot be read holds no folder we could map
  }
  if (!found) return kPathNotFound;
  if (m_.OSFamily != kFamilyNt) {
    for (const char cd : m_.CdLetters) {
      if (cd != 0 && cd == DriveOf(folder)) {
        c.SetMousePointer(MousePointer::Default);
        return kCdRomOn95;
      }
    }
  }
  return 0;
}

SubstOutcome frmQOR_Pro::StartSubst(const SubstRequest& request) {
  const std::string argument = request.remove ? "/D" : CommandArgument(request.folder);
  const ProcessOutcome run = ports_.processes.RunHidden(
      "subst.exe " + request.letter + ": " + argument, "", kCommandLimitMs);
  if (!run.started) return {SubstStatus::NotStarted, kUnknownFailure};
  // Rebuilt whatever subst answered, so the lists show what it really left behind.
  RefreshLetters();
  try {
    RefreshDriveList();
  } catch (const std::exception&) {
    // The drive list only mirrors the change; failing to redraw it does not undo the outcome.
  }
  if (!run.finished) return {SubstStatus::TimedOut, kUnknownFailure};
  if (run.exitCode != 0) return {SubstStatus::SubstFailed, kUnknownFailure};
  return {SubstStatus::Mapped, 0};
}

void frmQOR_Pro::ReportSubst(const SubstOutcome& outcome) {
  if (outcome.Mapped()) {
    ShowDone();
  } else {
    ShowError(outcome.code);
  }
}

void frmQOR_Pro::ShowDone() {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox("Operation Completed!", "Done!", Buttons::Ok, Icon::None);
}

bool frmQOR_Pro::IsNetworkTarget() {
  const std::string folder = ports_.controls.Text(ControlId::txtPath);
  if (const std::uint8_t refusal = FolderTextRefusal(folder); refusal != 0) {
    ShowError(refusal);
    return true;
  }
  DriveType type = DriveType::Unknown;
  try {
    type = ports_.drives.Type(DriveOf(folder));
  } catch (const FileError&) {
    // The folder's drive is gone since it was chosen.
    ShowError(kPathNotFound);
    return true;
  }
  if (type == DriveType::Remote) {
    ShowError(kNetworkDrive);
    return true;
  }
  return false;
}

}  // namespace kestrane
