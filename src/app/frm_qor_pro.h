#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/folder_list.h"
#include "app/module1.h"
#include "app/steps.h"
#include "app/window_layout.h"
#include "engine/runner.h"
#include "platform/ports.h"

namespace kestrane {

// Mouse buttons and shift states as the folder list's mouse-down event reports them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// The main window: its session state and every handler. The handlers of each subsystem are
// defined in that subsystem's folder.
class frmQOR_Pro {
 public:
  frmQOR_Pro(const Ports& ports, Module1& module) : ports_(ports), m_(module), dir_(ports.files) {}
  frmQOR_Pro(const frmQOR_Pro&) = delete;
  frmQOR_Pro& operator=(const frmQOR_Pro&) = delete;

  // Session state.
  std::string Ltr;        // the letter last picked in a list or worked on; may be a network's a-z
  std::string Path;       // the typed hidden folder (full, unquoted) the folder list is held on
  std::string sPath;      // the data folder, ending in a backslash
  bool Hidden = false;    // Path is a typed hidden folder; cleared by the next mapping's checks
  std::string SubFolder;  // the folder name last typed into the hidden-folder box
  std::string Hold;       // the full path of the folder last put into the path box

  // Start-up (app/startup.cpp). Form_Load answers false when the program has ended.
  bool Form_Load();
  void Form_Activate();

  // Selection (app/selection.cpp).
  void DrvList_Change();
  void dirList_Change();
  void dirList_KeyPress(int keyAscii);
  void dirList_MouseDown(int button, int shift, int x, int y);
  void lstAvail_Click();
  void lstAvail_DblClick();
  void lstUsedLtrs_Click();
  void lstUsedLtrs_DblClick();
  void cmdCancel_Click();
  // The controls' own behaviour: the user picked drive `index` of the drive list, or opened
  // (double-clicked) row `row` of the folder list.
  void DriveListPick(int index);
  void FolderListOpen(int row);
  // Fills the drive list from the machine's drives, keeping the current drive.
  void RefreshDriveList();
  // Puts the folder list on a folder and raises its change event when it moved.
  void SetFolderPath(const std::string& path);

  // Letter lists and messages (engine/letters.cpp, engine/messages.cpp).
  void RefreshLetters();
  bool CheckDrive(char letter);
  // The window calls this when it becomes active again and when the system announces a drive
  // change: drives another program made or removed reach the lists, for the cost of one query
  // when nothing changed.
  void CheckDriveSet();
  void ShowError(std::uint8_t code);

  // The substitution runner, Add and Remove (engine/runner.cpp, engine/add_remove.cpp).
  SubstOutcome RunSubst(const SubstRequest& request);
  bool IsNetworkTarget();
  void cmdOk_Click();
  void cmdRemove_Click();

  // Permanent drives (permanent/*.cpp).
  std::string GetStartupFolder();
  bool CheckStartupScript(const std::string& file);
  void RemovePermanent();
  void cmdDefault_Click();
  void mnuRepair_Click();
  void mnuView_Click();

  // Help and information (info/*.cpp).
  void MnuHelpIntro_Click();
  void mnuHelpCreate_Click();
  void mnuHelpCD_Click();
  void mnuHelpKB_Click();
  void mnuHelpPerm_Click();
  void mnuHelpRemove_Click();
  void mnuHelpMisc_Click();
  void mnuHelpSupport_Click();
  void mnuHelpOrder_Click();
  void mnuHelpLicense_Click();
  void mnuAbout_Click();
  void mnuChk4Upgrade_Click();

  // Routes a command identifier (app/control_ids.h) to its handler; false when unknown.
  bool Command(int id);

 private:
  // Start-up's steps.
  void CentreWindow();
  Flow FindAppDataFolder();
  Flow RequireDataFile();

  // Selection.
  void ShowFolderRows();
  void SetCurrentDrive(char letter);
  std::string SelectedLetter(ControlId list) const;

  // The letter probe. A listing nobody asked for keeps unexpected failures to itself.
  enum class ProbeFailures { Shown, Hushed };
  void ListLetters(ProbeFailures failures);
  bool ProbeLetter(char letter, ProbeFailures failures);
  void ShowProbeFailure(int number, ProbeFailures failures);
  void StartListing();
  std::string SelectedEntry(ControlId list) const;
  void Reselect(ControlId list, const std::string& entry);

  // The runner and what Add and Remove make of its outcome.
  std::uint8_t CheckTarget(const std::string& folder);
  SubstOutcome StartSubst(const SubstRequest& request);
  void ReportSubst(const SubstOutcome& outcome);
  void ShowDone();
  bool PickLetter(ControlId list);
  void RefuseRemoval(const std::string& body);
  bool IsPermanent(char letter);
  bool ForgetPermanent();

  // The startup batch file: its full path, empty without a Startup folder; whether it holds a
  // line for the letter.
  std::string StartupBatch();
  bool StartupScriptNames(char letter);
  // Clears the letter's bit; a failure comes as MarkNotCleared.
  void ClearMark(char letter);

  // Make Permanent's checks and steps.
  bool PermanentChoiceIsValid(const std::string& folder);
  std::string FolderForBatch(const std::string& folder);
  void MakePermanent(const std::string& letter, const std::string& folder,
                     const std::string& batchFolder);
  void ReportPermanentFailure(const FileError& e, const std::string& mappedLetter);
  Flow RequireSupportedFamily();
  Flow FindStartupBatch(std::string& batchFile);
  Flow RefuseListedLetter(const std::string& batchFile);
  Flow MapForPermanent(const std::string& letter, const std::string& folder, bool& mapped);
  bool StandsFor(char letter, const std::string& folder);
  Flow RecordPermanent(const std::string& letter, const std::string& batchFolder,
                       const std::string& batchFile);

  // Restore.
  bool ForgetEveryPermanent();
  void ReportRestoreProblem(const std::string& body);

  Ports ports_;
  Module1& m_;
  FolderList dir_;                     // the folder list's rows and current folder
  char currentDrive_ = 0;              // the drive list's current drive, upper case; 0: none
  std::vector<char> driveLetters_;     // the drive list's entries, in order
  std::uint8_t redo = 0;               // the probe: 0 a listing starts, 1 listing, 2 one check
  std::uint8_t cdCount_ = 0;           // CD-ROM letters recorded in this listing
  std::uint32_t listedDrives_ = 0;     // the drive letters of the last listing, a bit each
  std::unique_ptr<RecordFile> file1_;  // the data file, open only during start-up
};

}  // namespace kestrane
