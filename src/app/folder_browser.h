#pragma once
#include <string>
#include <vector>

#include "app/folder_list.h"
#include "app/reports.h"
#include "app/selection.h"
#include "drives/letter_probe.h"
#include "ui/ports.h"

namespace kestrane {

// The root of the system drive, "C:", which is always there.
std::string SystemRoot(Shell& shell);

// The drive list, the folder list and the path box: how the user walks to a folder, and the
// folder they leave chosen in the Selection. A drive or folder that cannot be entered leaves all
// three where they were, with a box that says why.
class FolderBrowser {
 public:
  FolderBrowser(const Ports& ports, Selection& selection, LetterProbe& probe, Reports& reports)
      : ports_(ports), selection_(selection), probe_(probe), reports_(reports), dir_(ports.files) {}

  // Puts the lists on a folder and chooses it when it is another one. "\" is the current
  // drive's root, "X:" drive X's. A FileError (NoAnswer for a drive that does not answer) when
  // it cannot be opened.
  void Open(const std::string& path);
  // The user chose a folder or a drive: a typed hidden folder belonged to the folder chosen
  // before, so its mode ends here.
  void Choose(const std::string& path);
  // Chooses the folder that holds `path` and types its last name below it, as the hidden-folder
  // entry does, so that Add looks for a hidden folder.
  void ChooseHidden(const std::string& path);
  // The user picked drive `index` of the drive list.
  void PickDrive(int index);
  // The user opened (double-clicked, or pressed Enter on) row `row` of the folder list.
  void OpenRow(int row);
  // The hidden-folder entry: asks first unless told not to.
  void EnterHidden(bool ask);
  // The path box shows the chosen folder, shortened when long.
  void ShowFolder();
  // The drive list follows the drives there are now.
  void RefreshDriveList();
  // The drive the folder list shows has gone (removed here or by another program): the lists go
  // back to the system drive's root, as at start, rather than stay on a folder nothing reaches.
  void LeaveGoneDrive(const std::vector<std::string>& used);

 private:
  void DrvList_Change();
  void dirList_Change();
  void ShowFolderRows();
  void SetCurrentDrive(char letter);
  void AskHiddenFolder();

  Ports ports_;
  Selection& selection_;
  LetterProbe& probe_;
  Reports& reports_;
  FolderList dir_;                  // the folder list's rows and current folder
  char currentDrive_ = 0;           // the drive list's current drive, upper case; 0: none
  std::vector<char> driveLetters_;  // the drive list's entries, in order
};

}  // namespace kestrane
