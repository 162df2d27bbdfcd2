#include "engine/runner.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <string>

#include "app/frm_qor_pro.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

// subst normally answers at once; past this the window is given back with code 11.
constexpr int kGiveUpMs = 10000;
constexpr int kAttrDirectory = 16;
constexpr int kAttrDirectoryHidden = 18;
constexpr double kLongestPause = 86400;  // a day; keeps the millisecond count in range

bool IsUpperLetter(const std::string& text) {
  return text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z';
}

// A quoted folder with nothing that could end the quotes early or start a second argument.
bool IsQuotedFolder(const std::string& arg) {
  if (arg.size() < 2 || arg.front() != '"' || arg.back() != '"') return false;
  const std::string inner = arg.substr(1, arg.size() - 2);
  for (const char ch : inner) {
    if (ch == '"' || static_cast<unsigned char>(ch) < 32) return false;
  }
  return FolderTextRefusal(inner) == 0;
}

}  // namespace

// Backslashes right before the closing quote would escape it for the program's argument
// parser ("C:\" would arrive as C:"), so they are doubled; a drive root stays mappable.
std::string CommandArgument(const std::string& path) {
  if (path.size() < 2 || path.back() != '"') return path;
  std::string inner = path.substr(0, path.size() - 1);
  const std::size_t kept = inner.find_last_not_of('\\') + 1;
  inner += std::string(inner.size() - kept, '\\');
  return inner + '"';
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

void frmQOR_Pro::RunSubst() {
  auto& c = ports_.controls;
  c.SetMousePointer(MousePointer::Hourglass);
  // Cleared only where the letter ends up mapped as asked: after "Done!" or the silent accept.
  substFailed_ = true;
  // The drive list only mirrors the change; failing to redraw it does not undo the outcome.
  const auto refreshDriveList = [this] {
    try {
      RefreshDriveList();
    } catch (const std::exception&) {
    }
  };
  try {
    // Whatever reaches the command line is a plain drive letter and nothing else.
    if (!IsUpperLetter(Ltr)) {
      ShowError(kNoLetter);
      return;
    }
    const bool remove = Path == "/D";
    redo = 2;
    if (CheckDrive(Ltr[0])) {
      if (!remove) {
        if (m_.MakingPerm) {
          // Make Permanent accepts a letter that is mapped already; it restores the pointer.
          m_.MakingPerm = false;
          substFailed_ = false;
          return;
        }
        ShowError(kLetterInUse);
        return;
      }
    } else if (!remove) {
      c.SetText(ControlId::txtPath, Hold);
      const std::string folder = c.Text(ControlId::txtPath);
      const int attributes = Hidden ? kAttrDirectoryHidden : kAttrDirectory;
      Hidden = false;
      if (const std::uint8_t refusal = FolderTextRefusal(folder); refusal != 0) {
        ShowError(refusal);
        return;
      }
      if (!IsQuotedFolder(Path)) {
        ShowError(kPathNotFound);
        return;
      }
      bool found = false;
      try {
        found = ports_.files.DirectoryExists(folder, attributes == kAttrDirectoryHidden);
      } catch (const FileError&) {
        found = false;  // a drive that cannot be read holds no folder we could map
      }
      if (!found) {
        ShowError(kPathNotFound);
        return;
      }
      if (m_.OSFamily != "NT") {
        const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(Path[1])));
        for (const char cd : m_.CdLetters) {
          if (cd != 0 && cd == drive) {
            c.SetMousePointer(MousePointer::Default);
            ShowError(kCdRomOn95);
            return;
          }
        }
      }
    }
    // A delete request for a letter that is free already skips the folder checks: they are
    // about a folder that plays no part in it, and subst itself answers for the letter.

    const ProcessOutcome outcome = ports_.processes.RunHidden(
        "subst.exe " + Ltr + ": " + CommandArgument(Path), "", kGiveUpMs);
    if (!outcome.started) {
      ShowError(kUnknownFailure);
      return;
    }
    // Rebuilt even after a refusal, so the lists show what subst really left behind.
    RefreshLetters();
    if (outcome.finished && outcome.exitCode == 0) {
      substFailed_ = false;
      c.SetMousePointer(MousePointer::Default);
      ports_.dialogs.MessageBox("Operation Completed!", "Done!", Buttons::Ok, Icon::None);
      refreshDriveList();
      return;
    }
    refreshDriveList();
    ShowError(kUnknownFailure);
  } catch (const std::exception&) {
    // For example subst.exe missing: the request ends here, the program goes on.
    ShowError(kUnknownFailure);
  }
}

bool frmQOR_Pro::IsNetworkTarget() {
  const std::string folder = ports_.controls.Text(ControlId::txtPath);
  if (const std::uint8_t refusal = FolderTextRefusal(folder); refusal != 0) {
    ShowError(refusal);
    return true;
  }
  DriveType type = DriveType::Unknown;
  try {
    type =
        ports_.drives.Type(static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0]))));
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

void frmQOR_Pro::Pause(double seconds) {
  // Not a number or not positive: the shortest wait that still lets time pass.
  const double bounded = seconds > 0 ? std::fmin(seconds, kLongestPause) : 0;
  const auto limitMs = static_cast<std::int64_t>(std::ceil(bounded * 1000));
  const std::int64_t start = ports_.clock.NowMs();
  for (;;) {
    const std::int64_t elapsed = ports_.clock.NowMs() - start;
    if (elapsed > limitMs) return;
    ports_.clock.SleepMs(limitMs - elapsed + 1);
  }
}

}  // namespace kestrane
