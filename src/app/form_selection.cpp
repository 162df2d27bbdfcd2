#include <exception>

#include "app/frm_qor_pro.h"
#include "app/messages.h"
#include "info/version.h"
#include "platform/ascii_text.h"
#include "platform/file_error.h"
#include "platform/paths.h"

namespace kestrane {

namespace {

constexpr int kEnterKey = 13;

// A folder the list could not open, named with the failure in plain words.
void ShowOpenError(Dialogs& dialogs, const std::string& folder, const std::string& failure) {
  dialogs.MessageBox("The folder " + std::string(kQuote) + ShortenedPath(folder) + kQuote +
                         " cannot be opened:" + kCrLf + failure + ".",
                     app::kTitle, Buttons::Ok, Icon::Critical);
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
  std::string entry(1, AsciiLower(letter));
  entry += ":";
  if (!label.empty()) entry += " [" + label + "]";
  return entry;
}

// The entry a list shows in a row; empty for no row.
std::string EntryAt(const std::vector<std::string>& entries, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  return entries[static_cast<std::size_t>(index)];
}

}  // namespace

// A drive or folder that does not answer is not entered: the lists stay where they were.
void frmQOR_Pro::ShowNoAnswer(const std::string& path) {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(path + " does not answer." + kCrLf + kCrLf +
                                "The lists stay where they were. Try again when it answers.",
                            app::kTitle, Buttons::Ok, Icon::Exclamation);
}

void frmQOR_Pro::ShowFolderRows() { ports_.controls.SetFolderRows(dir_.Rows(), dir_.CurrentRow()); }

void frmQOR_Pro::SetFolderPath(const std::string& path) {
  const bool changed = dir_.SetPath(path);
  ShowFolderRows();
  if (!dir_.Path().empty()) SetCurrentDrive(dir_.Path()[0]);
  if (changed) dirList_Change();
}

// The user chose a folder of the list or a drive: a typed hidden folder belonged to the folder
// chosen before, so its mode ends here.
void frmQOR_Pro::ChooseFolder(const std::string& path) {
  const bool wasHidden = selection_.Hidden();
  selection_.LeaveHidden();
  try {
    SetFolderPath(path);
  } catch (...) {
    if (wasHidden) selection_.ResumeHidden();
    throw;
  }
}

void frmQOR_Pro::SetCurrentDrive(char letter) {
  const char upper = AsciiUpper(letter);
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
  const std::vector<DriveFacts> facts = probe_.Facts(driveLetters_);
  for (std::size_t i = 0; i < driveLetters_.size(); ++i) {
    const char letter = driveLetters_[i];
    // A drive that cannot be asked, or did not answer, is listed by its letter alone.
    const DriveFacts& f = facts[i];
    const bool named = f.answered && f.typeFailure == 0 && f.volumeFailure == 0 &&
                       (f.type == DriveType::Remote || letter == currentDrive_);
    const std::string label = named ? f.label : std::string();
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

// A folder that is not opened leaves the list, its highlight and the path box on the folder
// they showed, so that Add maps the folder the user sees chosen.
void frmQOR_Pro::FolderListOpen(int row) {
  const std::string target = dir_.RowPath(row);
  if (target.empty()) return;
  try {
    if (TargetLimitOf(target) != TargetLimit::None) {
      // Opened, it would be chosen for Add under a name subst cannot take as it is.
      ShowFolderRows();
      ShowTargetRefusal(target);
      return;
    }
    ChooseFolder(target);
  } catch (const NoAnswer& e) {
    ShowNoAnswer(e.Path());
  } catch (const FileError& e) {
    // The folder went away (or its drive did) since the list was drawn.
    ShowFolderRows();
    ShowOpenError(ports_.dialogs, target, ErrorText(e));
  } catch (const std::exception& e) {
    ShowFolderRows();
    ShowOpenError(ports_.dialogs, target, ErrorText(err::kInvalidCall, e.what()));
  }
}

void frmQOR_Pro::DrvList_Change() {
  try {
    ChooseFolder(std::string(1, currentDrive_) + ":");
  } catch (const std::exception& e) {
    // The drive cannot be opened: the drive list goes back to the folder list's drive.
    if (const auto* silent = dynamic_cast<const NoAnswer*>(&e)) ShowNoAnswer(silent->Path());
    const char back = dir_.Path().empty() ? 0 : dir_.Path()[0];
    currentDrive_ = 0;
    if (back != 0) {
      SetCurrentDrive(back);
    } else {
      RefreshDriveList();
    }
  }
}

// The path box shows the chosen folder, shortened when long.
void frmQOR_Pro::ShowFolder() {
  ports_.controls.SetText(ControlId::txtPath, selection_.ShownFolder());
}

void frmQOR_Pro::dirList_Change() {
  // A typed folder that is not there is asked for again until one is found; a loop rather than
  // nested handlers, so a persistent user cannot exhaust the stack.
  for (;;) {
    try {
      if (selection_.Hidden()) {
        const std::string typed = NormalPath(selection_.HiddenFolder());
        if (TargetLimitOf(typed) != TargetLimit::None) {
          // Looked for as it is typed, it could be found under a shorter name: asked again.
          ShowTargetRefusal(typed);
          AskHiddenFolder();
          continue;
        }
        SetFolderPath(selection_.HiddenFolder());
        // A typed "." or ".." leads somewhere else than the text says: the path box and the
        // later command line name the folder the list really shows.
        if (HasDotSegment(selection_.HiddenFolder())) selection_.RenameHidden(dir_.Path());
        selection_.SetFolder(selection_.HiddenFolder());
      } else {
        selection_.SetFolder(dir_.Path());
      }
      ShowFolder();
      return;
    } catch (const NoAnswer& e) {
      ShowNoAnswer(e.Path());
      return;
    } catch (const FileError& e) {
      if (!selection_.Hidden() || e.Number() != err::kPathNotFound) {
        ShowOpenError(ports_.dialogs, selection_.Hidden() ? selection_.HiddenFolder() : dir_.Path(),
                      ErrorText(e));
        return;
      }
      const bool gaveUp = selection_.SubFolder().empty();
      ports_.dialogs.MessageBox("Sorry we couldn't find that sub-folder." + std::string(kCrLf) +
                                    "\"" + selection_.SubFolder() + "\"",
                                "Path not found!", Buttons::Ok, Icon::Information);
      if (gaveUp) {
        // Even the base folder is gone: nothing typed can lead back, so hidden mode ends here
        // instead of asking for ever.
        selection_.LeaveHidden();
        continue;
      }
      AskHiddenFolder();
    } catch (const std::exception& e) {
      ShowOpenError(ports_.dialogs, selection_.Hidden() ? selection_.HiddenFolder() : dir_.Path(),
                    ErrorText(err::kInvalidCall, e.what()));
      return;
    }
  }
}

// Asks for the name of a folder below the chosen one and enters hidden-folder mode. A drive
// root's base is the letter and colon alone, so the prompt ends in a single backslash.
void frmQOR_Pro::AskHiddenFolder() {
  const std::string name =
      ports_.dialogs.InputBox(selection_.HiddenBase() + "\\", "Enter Folder Name");
  selection_.EnterHidden(name);
}

void frmQOR_Pro::dirList_KeyPress(int keyAscii) {
  if (keyAscii == kEnterKey) FolderListOpen(ports_.controls.FolderHighlight());
}

void frmQOR_Pro::dirList_MouseDown(int button, int shift) {
  if (button != kRightButton) return;
  if (shift != kAltMask &&
      ports_.dialogs.MessageBox("Do you want to add a hidden folder?", "Hidden Folder Name",
                                Buttons::YesNoCancel, Icon::Question) != Answer::Yes) {
    return;
  }
  AskHiddenFolder();
  dirList_Change();
}

void frmQOR_Pro::lstAvail_Click(int index) {
  selection_.Pick(Selection::List::Avail, EntryAt(lists_.avail, index));
}
void frmQOR_Pro::lstAvail_DblClick() { cmdOk_Click(); }
void frmQOR_Pro::lstUsedLtrs_Click(int index) {
  selection_.Pick(Selection::List::Used, EntryAt(lists_.used, index));
}
void frmQOR_Pro::lstUsedLtrs_DblClick() { cmdRemove_Click(); }
void frmQOR_Pro::cmdCancel_Click() { ports_.controls.EndProgram(); }

}  // namespace kestrane
