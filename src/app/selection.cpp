#include <cctype>
#include <exception>

#include "app/frm_qor_pro.h"
#include "engine/messages.h"
#include "info/version.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr std::size_t kShownWhole = 66;  // longer paths are shortened in the path box
constexpr std::size_t kKeptTail = 63;
constexpr int kEnterKey = 13;

// The folder list's only generic error box, named after the handler whatever raised it.
void ShowChangeError(Dialogs& dialogs, int number, const std::string& description) {
  dialogs.MessageBox("Error " + std::to_string(number) + " (" + description +
                         ") in procedure dirList_Change of Form frmQOR_Pro",
                     app::kTitle, Buttons::Ok, Icon::None);
}

bool HasDotSegment(const std::string& path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    if (segment == "." || segment == "..") return true;
    start = end + 1;
  }
  return false;
}

std::string DriveEntry(char letter, const std::string& label) {
  std::string entry(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  entry += ":";
  if (!label.empty()) entry += " [" + label + "]";
  return entry;
}

// Asks for the name of a folder below the one in the path box and enters hidden-folder mode.
// A drive root's base is the letter and colon alone, so the prompt ends in a single backslash.
void AskHiddenFolder(Dialogs& dialogs, const std::string& hold, std::string& subFolder,
                     std::string& path, bool& hidden) {
  std::string base = hold;
  if (!base.empty() && base.back() == '\\') base = base.substr(0, 2);
  subFolder = dialogs.InputBox(base + "\\", "Enter Folder Name");
  path = base + "\\" + subFolder;
  hidden = true;
}

}  // namespace

void frmQOR_Pro::ShowFolderRows() { ports_.controls.SetFolderRows(dir_.Rows(), dir_.CurrentRow()); }

void frmQOR_Pro::SetFolderPath(const std::string& path) {
  const bool changed = dir_.SetPath(path);
  ShowFolderRows();
  if (!dir_.Path().empty()) SetCurrentDrive(dir_.Path()[0]);
  if (changed) dirList_Change();
}

void frmQOR_Pro::SetCurrentDrive(char letter) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper == currentDrive_) return;
  currentDrive_ = upper;
  RefreshDriveList();
}

void frmQOR_Pro::RefreshDriveList() {
  try {
    driveLetters_ = ports_.drives.Letters();
  } catch (const std::exception&) {
    return;  // the list keeps the drives it showed
  }
  std::vector<std::string> items;
  int current = -1;
  for (std::size_t i = 0; i < driveLetters_.size(); ++i) {
    const char letter = driveLetters_[i];
    std::string label;
    try {
      if (ports_.drives.Type(letter) == DriveType::Remote || letter == currentDrive_) {
        label = ports_.drives.Label(letter);
      }
    } catch (const std::exception&) {
      // A drive that cannot be asked is listed by its letter alone.
    }
    items.push_back(DriveEntry(letter, label));
    if (letter == currentDrive_) current = static_cast<int>(i);
  }
  ports_.controls.SetDriveItems(items, current);
}

void frmQOR_Pro::DriveListPick(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= driveLetters_.size()) return;
  const char picked = driveLetters_[static_cast<std::size_t>(index)];
  if (picked == currentDrive_) return;
  currentDrive_ = picked;
  DrvList_Change();
}

void frmQOR_Pro::FolderListOpen(int row) {
  const std::string target = dir_.RowPath(row);
  if (target.empty()) return;
  try {
    SetFolderPath(target);
  } catch (const FileError& e) {
    // The folder went away (or its drive did) since the list was drawn.
    ShowChangeError(ports_.dialogs, e.Number(), e.Description());
  } catch (const std::exception& e) {
    ShowChangeError(ports_.dialogs, err::kInvalidCall, e.what());
  }
}

void frmQOR_Pro::DrvList_Change() {
  try {
    SetFolderPath(std::string(1, currentDrive_) + ":");
  } catch (const std::exception&) {
    // The drive cannot be opened: the drive list goes back to the folder list's drive.
    const char back = dir_.Path().empty() ? 0 : dir_.Path()[0];
    currentDrive_ = 0;
    if (back != 0) {
      SetCurrentDrive(back);
    } else {
      RefreshDriveList();
    }
  }
}

void frmQOR_Pro::dirList_Change() {
  auto& c = ports_.controls;
  // A typed folder that is not there is asked for again until one is found; a loop rather than
  // nested handlers, so a persistent user cannot exhaust the stack.
  for (;;) {
    try {
      if (Hidden) {
        SetFolderPath(Path);
        // A typed "." or ".." leads somewhere else than the text says: the path box and the
        // later command line name the folder the list really shows.
        if (HasDotSegment(Path)) Path = dir_.Path();
        c.SetText(ControlId::txtPath, Path);
      } else {
        c.SetText(ControlId::txtPath, dir_.Path());
      }
      Hold = c.Text(ControlId::txtPath);
      std::string shown = Hold;
      if (shown.size() > kShownWhole) shown = "....." + shown.substr(shown.size() - kKeptTail);
      if (shown != Hold) c.SetText(ControlId::txtPath, shown);
      return;
    } catch (const FileError& e) {
      if (!Hidden || e.Number() != err::kPathNotFound) {
        ShowChangeError(ports_.dialogs, e.Number(), e.Description());
        return;
      }
      const bool gaveUp = SubFolder.empty();
      ports_.dialogs.MessageBox(
          "Sorry we couldn't find that sub-folder." + std::string(kCrLf) + "\"" + SubFolder + "\"",
          "Path not found!", Buttons::Ok, Icon::Information);
      if (gaveUp) {
        // Even the base folder is gone: nothing typed can lead back, so hidden mode ends here
        // instead of asking for ever.
        Hidden = false;
        continue;
      }
      AskHiddenFolder(ports_.dialogs, Hold, SubFolder, Path, Hidden);
    } catch (const std::exception& e) {
      ShowChangeError(ports_.dialogs, err::kInvalidCall, e.what());
      return;
    }
  }
}

void frmQOR_Pro::dirList_KeyPress(int keyAscii) {
  if (keyAscii == kEnterKey) FolderListOpen(ports_.controls.FolderHighlight());
}

void frmQOR_Pro::dirList_MouseDown(int button, int shift, int x, int y) {
  (void)x;
  (void)y;
  if (button != kRightButton) return;
  if (shift != kAltMask &&
      ports_.dialogs.MessageBox("Do you want to add a hidden folder?", "Hidden Folder Name",
                                Buttons::YesNoCancel, Icon::Question) != Answer::Yes) {
    return;
  }
  AskHiddenFolder(ports_.dialogs, Hold, SubFolder, Path, Hidden);
  dirList_Change();
}

std::string frmQOR_Pro::SelectedLetter(ControlId list) const {
  return SelectedEntry(list).substr(0, 1);
}

void frmQOR_Pro::lstAvail_Click() { Ltr = SelectedLetter(ControlId::lstAvail); }
void frmQOR_Pro::lstAvail_DblClick() { cmdOk_Click(); }
void frmQOR_Pro::lstUsedLtrs_Click() { Ltr = SelectedLetter(ControlId::lstUsedLtrs); }
void frmQOR_Pro::lstUsedLtrs_DblClick() { cmdRemove_Click(); }
void frmQOR_Pro::cmdCancel_Click() { ports_.controls.EndProgram(); }

}  // namespace kestrane
