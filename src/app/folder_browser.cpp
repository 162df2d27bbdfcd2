#include "app/folder_browser.h"

#include <exception>

#include "app/messages.h"
#include "platform/ascii_text.h"
#include "platform/file_error.h"
#include "platform/paths.h"

namespace kestrane {

namespace {

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

}  // namespace

std::string SystemRoot(Shell& shell) {
  const std::string system = shell.SystemFolder();
  return (HasDriveLetter(system) ? system.substr(0, 1) : std::string("C")) + ":";
}

void FolderBrowser::ShowFolderRows() {
  ports_.controls.SetFolderRows(dir_.Rows(), dir_.CurrentRow());
}

void FolderBrowser::Open(const std::string& path) {
  const bool changed = dir_.SetPath(path);
  ShowFolderRows();
  if (!dir_.Path().empty()) SetCurrentDrive(dir_.Path()[0]);
  if (changed) dirList_Change();
}

void FolderBrowser::Choose(const std::string& path) {
  const bool wasHidden = selection_.Hidden();
  selection_.LeaveHidden();
  try {
    Open(path);
  } catch (...) {
    if (wasHidden) selection_.ResumeHidden();
    throw;
  }
}

void FolderBrowser::ChooseHidden(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  Choose(path.substr(0, slash == 2 ? 3 : slash));
  selection_.EnterHidden(path.substr(slash + 1));
  dirList_Change();
}

void FolderBrowser::SetCurrentDrive(char letter) {
  const char upper = AsciiUpper(letter);
  if (upper == currentDrive_) return;
  currentDrive_ = upper;
  RefreshDriveList();
}

void FolderBrowser::RefreshDriveList() {
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

void FolderBrowser::PickDrive(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= driveLetters_.size()) return;
  const char picked = driveLetters_[static_cast<std::size_t>(index)];
  if (picked == currentDrive_) return;
  currentDrive_ = picked;
  DrvList_Change();
}

// A folder that is not opened leaves the list, its highlight and the path box on the folder
// they showed, so that Add maps the folder the user sees chosen.
void FolderBrowser::OpenRow(int row) {
  const std::string target = dir_.RowPath(row);
  if (target.empty()) return;
  try {
    if (TargetLimitOf(target) != TargetLimit::None) {
      // Opened, it would be chosen for Add under a name subst cannot take as it is.
      ShowFolderRows();
      reports_.TargetRefusal(target);
      return;
    }
    Choose(target);
  } catch (const NoAnswer& e) {
    reports_.NoAnswer(e.Path());
  } catch (const FileError& e) {
    // The folder went away (or its drive did) since the list was drawn.
    ShowFolderRows();
    reports_.OpenFailure(target, ErrorText(e));
  } catch (const std::exception& e) {
    ShowFolderRows();
    reports_.OpenFailure(target, ErrorText(err::kInvalidCall, e.what()));
  }
}

void FolderBrowser::DrvList_Change() {
  try {
    Choose(std::string(1, currentDrive_) + ":");
  } catch (const std::exception& e) {
    // The drive cannot be opened: the drive list goes back to the folder list's drive.
    if (const auto* silent = dynamic_cast<const NoAnswer*>(&e)) reports_.NoAnswer(silent->Path());
    const char back = dir_.Path().empty() ? 0 : dir_.Path()[0];
    currentDrive_ = 0;
    if (back != 0) {
      SetCurrentDrive(back);
    } else {
      RefreshDriveList();
    }
  }
}

void FolderBrowser::ShowFolder() {
  ports_.controls.SetText(ControlId::txtPath, selection_.ShownFolder());
}

void FolderBrowser::dirList_Change() {
  // A typed folder that is not there is asked for again until one is found; a loop rather than
  // nested handlers, so a persistent user cannot exhaust the stack.
  for (;;) {
    try {
      if (selection_.Hidden()) {
        const std::string typed = NormalPath(selection_.HiddenFolder());
        if (TargetLimitOf(typed) != TargetLimit::None) {
          // Looked for as it is typed, it could be found under a shorter name: asked again.
          reports_.TargetRefusal(typed);
          AskHiddenFolder();
          continue;
        }
        Open(selection_.HiddenFolder());
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
      reports_.NoAnswer(e.Path());
      return;
    } catch (const FileError& e) {
      if (!selection_.Hidden() || e.Number() != err::kPathNotFound) {
        reports_.OpenFailure(selection_.Hidden() ? selection_.HiddenFolder() : dir_.Path(),
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
      reports_.OpenFailure(selection_.Hidden() ? selection_.HiddenFolder() : dir_.Path(),
                           ErrorText(err::kInvalidCall, e.what()));
      return;
    }
  }
}

// Asks for the name of a folder below the chosen one and enters hidden-folder mode. A drive
// root's base is the letter and colon alone, so the prompt ends in a single backslash.
void FolderBrowser::AskHiddenFolder() {
  const std::string name =
      ports_.dialogs.InputBox(selection_.HiddenBase() + "\\", "Enter Folder Name");
  selection_.EnterHidden(name);
}

void FolderBrowser::EnterHidden(bool ask) {
  if (ask && ports_.dialogs.MessageBox("Do you want to add a hidden folder?", "Hidden Folder Name",
                                       Buttons::YesNoCancel, Icon::Question) != Answer::Yes) {
    return;
  }
  AskHiddenFolder();
  dirList_Change();
}

void FolderBrowser::LeaveGoneDrive(const std::vector<std::string>& used) {
  if (dir_.Path().empty()) return;
  const char shown = AsciiUpper(dir_.Path()[0]);
  for (const std::string& entry : used) {
    if (AsciiUpper(entry[0]) == shown) return;
  }
  try {
    Choose(SystemRoot(ports_.shell));
  } catch (const std::exception&) {
    // The system drive cannot be opened either: the lists stay as they are.
  }
}

}  // namespace kestrane
