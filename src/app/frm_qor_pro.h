#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/folder_list.h"
#include "app/module1.h"
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
  std::string Ltr;
  std::string Path;
  std::uint8_t redo = 0;
  std::string sPath;
  bool Hidden = false;
  std::string SubFolder;
  std::string Hold;

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

  // Letter lists and messages (engine/letters.cpp, engine/messages.cpp).
  void RefreshLetters();
  bool CheckDrive(char letter);
  void ShowError(std::uint8_t code);

  // The substitution runner, Add and Remove (engine/runner.cpp, engine/add_remove.cpp).
  void RunSubst();
  bool IsNetworkTarget();
  void Pause(double seconds);
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

  // Fills the drive list from the machine's drives, keeping the current drive.
  void RefreshDriveList();
  // Puts the folder list on a folder and raises its change event when it moved.
  void SetFolderPath(const std::string& path);

  // Read-only views for the window and for tests.
  const FolderList& Folders() const { return dir_; }
  char CurrentDrive() const { return currentDrive_; }
  const std::array<std::int32_t, 27>& Serials() const { return serials_; }
  std::uint8_t UsedCount() const { return usedCount_; }
  std::uint8_t CdCount() const { return cdCount_; }
  Module1& Module() { return m_; }

 private:
  void ShowFolderRows();
  void ResetDriveCounts();
  void SetCurrentDrive(char letter);
  enum class StepResult { Done, EndProgram };
  StepResult StartupStep(int step);
  std::string SelectedLetter(ControlId list) const;

  Ports ports_;
  Module1& m_;
  FolderList dir_;
  char currentDrive_ = 0;
  std::vector<char> driveLetters_;
  std::uint8_t usedCount_ = 0;
  std::uint8_t cdCount_ = 0;
  std::array<std::int32_t, 27> serials_{};
  std::unique_ptr<RecordFile> file1_;  // the data file, open only during start-up
  // RunSubst's outcome for its caller: true when it reported a failure (codes 5, 6, 10, 11) or
  // could not start subst, so that Make Permanent writes nothing for a mapping that was not made.
  // RunSubst sets it on every call.
  bool substFailed_ = false;
};

}  // namespace kestrane
