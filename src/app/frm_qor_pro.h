#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/folder_argument.h"
#include "app/folder_browser.h"
#include "app/reports.h"
#include "app/selection.h"
#include "drives/letter_probe.h"
#include "drives/message_codes.h"
#include "drives/subst_listing.h"
#include "drives/subst_runner.h"
#include "permanent/data_file.h"
#include "permanent/permanent_drives.h"
#include "permanent/startup_script.h"
#include "ui/ports.h"

namespace kestrane {

// Mouse buttons and shift states as the folder list's mouse-down event reports them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// The main window's behaviour. Each handler takes the user's choices from the Selection, asks
// one subsystem, and shows what came of it through Reports; the walk to a folder is the
// FolderBrowser's. The subsystems never touch a control or a box.
class frmQOR_Pro {
 public:
  explicit frmQOR_Pro(const Ports& ports);
  frmQOR_Pro(const frmQOR_Pro&) = delete;
  frmQOR_Pro& operator=(const frmQOR_Pro&) = delete;

  // Start-up (form_startup.cpp). Form_Load answers false when the program has ended.
  bool Form_Load();
  void Form_Activate();

  // The folder and the letter (form_selection.cpp).
  void dirList_KeyPress(int keyAscii);
  void dirList_MouseDown(int button, int shift);
  // The user picked row `index` of a letter list (-1: none).
  void lstAvail_Click(int index);
  void lstAvail_DblClick();
  void lstUsedLtrs_Click(int index);
  void lstUsedLtrs_DblClick();
  void cmdCancel_Click();
  // The user picked drive `index` of the drive list, or opened (double-clicked) row `row` of
  // the folder list; both choose another folder.
  void DriveListPick(int index);
  void FolderListOpen(int row);
  // A folder given on the command line or dropped on the window (form_arrival.cpp): chosen as a
  // walk to it would choose it, or refused with a box that says why.
  void FolderArrived(const std::vector<std::string>& items, ArrivalWay way);

  // Virtual drives (form_drives.cpp).
  void cmdOk_Click();
  void cmdRemove_Click();
  // The window calls this when it becomes active again and when the system announces a drive
  // change: drives another program made or removed reach the lists, for the cost of one query
  // when nothing changed.
  void CheckDriveSet();

  // Permanent drives (form_permanent.cpp).
  void cmdDefault_Click();
  void mnuRepair_Click();
  void mnuView_Click();

  // Help and information, and the command table's dispatch (commands.cpp).
  void mnuAbout_Click();
  void mnuChk4Upgrade_Click();
  // Routes a button's or a menu entry's identifier to its handler; false when unknown.
  bool Command(int id);
  // Routes any control's event to its handler in the window description; false when unknown.
  bool Event(int id, ControlEvent event, int row);

 private:
  // Start-up's steps.
  void CentreWindow();
  std::string StartFolder();
  bool FindDataFolder();
  bool RequireDataFile();

  // The letter lists; a listing nobody asked for keeps unexpected failures to itself.
  enum class ProbeMode { Shown, Hushed };
  void ListLetters(ProbeMode mode);
  void RelistDrives(ProbeMode mode);
  void AfterSubst(const SubstOutcome& outcome);

  // The letter picked in a list, which the command is for; empty when none is, after the box
  // that asks for one, with the focus on that list.
  std::string RequirePickedLetter(Selection::List list);
  Answer AskForgetPermanent(const std::string& letter);
  // What follows a removal: the lists, then its box.
  void AfterRemoval(const RemovalOutcome& outcome, const std::string& letter);

  Ports ports_;
  OsFamily family_ = OsFamily::Unknown;
  Selection selection_;
  LetterProbe probe_;  // also what the letter lists show
  SubstRunner runner_;
  SubstListing listing_;
  PermanentDrives permanent_;
  Reports reports_;
  FolderBrowser browser_;
};

}  // namespace kestrane
