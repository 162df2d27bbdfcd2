#pragma once
#include "info/about.h"
#include "ui/controls.h"

// Control and command identifiers of both windows, shared by the user interface and by the
// programs that drive it from outside. The main window's controls take theirs from ControlId.
namespace kestrane::ids {

inline constexpr wchar_t kMainWindowClass[] = L"KestraneMainWindow";
inline constexpr wchar_t kAboutWindowClass[] = L"KestraneAboutBox";
inline constexpr wchar_t kInputWindowClass[] = L"KestraneInputBox";

#define KESTRANE_CONTROL_CONSTANT(name, id) inline constexpr int name = Id(ControlId::name);
KESTRANE_MAIN_CONTROLS(KESTRANE_CONTROL_CONSTANT)
#undef KESTRANE_CONTROL_CONSTANT

// The menu's commands, numbered in the order of the menu from the first.
enum MenuCommand : int {
  MnuHelpIntro = 2001,
  mnuHelpCreate,
  mnuHelpCD,
  mnuHelpKB,
  mnuHelpPerm,
  mnuHelpRemove,
  mnuHelpMisc,
  mnuHelpSupport,
  mnuHelpOrder,
  mnuHelpLicense,
  mnuAbout,
  mnuRepair,
  mnuChk4Upgrade,
  mnuView,
};

// About box; its OK button is the dialog's own IDOK (about_ids::cmdOK), apart from the main
// window's cmdOk.
inline constexpr int picIcon = about_ids::picIcon;
inline constexpr int lblDescription = about_ids::lblDescription;
inline constexpr int lblTitle = about_ids::lblTitle;
inline constexpr int lblVersion = about_ids::lblVersion;
inline constexpr int lblDisclaimer = about_ids::lblDisclaimer;

// Input box.
inline constexpr int inputPrompt = 3101;
inline constexpr int inputText = 3102;

}  // namespace kestrane::ids
