#include <cctype>
#include <exception>

#include "app/frm_qor_pro.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr std::size_t kShownWhole = 66;  // longer paths are shortened in the path box
constexpr std::size_t kKeptTail = 63;

std::string DriveEntry(char letter, const std::string& label) {
  std::string entry(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  entry += ":";
  if (!label.empty()) entry += " [" + label + "]";
  return entry;
}

}  // namespace

void frmQOR_Pro::ShowFolderRows() {
  ports_.controls.SetFolderRows(dir_.Rows(), dir_.CurrentRow());
}

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
  driveLetters_ = ports_.drives.Letters();
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
  SetFolderPath(target);
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
  try {
    if (Hidden) {
      SetFolderPath(Path);
      c.SetText(ControlId::txtPath, Path);
    } else {
      c.SetText(ControlId::txtPath, dir_.Path());
    }
    Hold = c.Text(ControlId::txtPath);
    std::string shown = Hold;
    if (shown.size() > kShownWhole) shown = "....." + shown.substr(shown.size() - kKeptTail);
    if (shown != Hold) c.SetText(ControlId::txtPath, shown);
  } catch (const FileError& e) {
    ports_.dialogs.MessageBox("Error " + std::to_string(e.Number()) + " (" + e.Description() +
                                  ") in procedure dirList_Change of Form frmQOR_Pro",
                              "Kestrane", Buttons::Ok, Icon::None);
  }
}

void frmQOR_Pro::dirList_KeyPress(int keyAscii) {
  if (keyAscii != 13) return;
  try {
    FolderListOpen(ports_.controls.FolderHighlight());
  } catch (const FileError& e) {
    ports_.dialogs.MessageBox("Error " + std::to_string(e.Number()) + " (" + e.Description() +
                                  ") in procedure dirList_Change of Form frmQOR_Pro",
                              "Kestrane", Buttons::Ok, Icon::None);
  }
}

void frmQOR_Pro::dirList_MouseDown(int button, int shift, int x, int y) {
  (void)button;
  (void)shift;
  (void)x;
  (void)y;
}

std::string frmQOR_Pro::SelectedLetter(ControlId list) const {
  const int index = ports_.controls.ListIndex(list);
  if (index < 0) return {};
  const std::string entry = ports_.controls.ListItem(list, index);
  return entry.empty() ? std::string() : entry.substr(0, 1);
}

void frmQOR_Pro::lstAvail_Click() { Ltr = SelectedLetter(ControlId::lstAvail); }
void frmQOR_Pro::lstAvail_DblClick() { cmdOk_Click(); }
void frmQOR_Pro::lstUsedLtrs_Click() { Ltr = SelectedLetter(ControlId::lstUsedLtrs); }
void frmQOR_Pro::lstUsedLtrs_DblClick() { cmdRemove_Click(); }
void frmQOR_Pro::cmdCancel_Click() { ports_.controls.EndProgram(); }

}  // namespace kestrane
