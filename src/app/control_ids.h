#pragma once
#include "info/about.h"
#include "ui/controls.h"

// Control and command identifiers of both windows, shared by the user interface and by the
// programs that drive it from outside. The main window's controls take theirs from ControlId.
namespace kestrane::ids {

inline constexpr wchar_t kMainWindowClass[] = L"KestraneMainWindow";
inline constexpr wchar_t kAboutWindowClass[] = L"KestraneAboutBox";
inline constexpr wchar_t kInputWindowClass[] = L"KestraneInputBox";

inline constexpr int lstAvail = Id(ControlId::lstAvail);
inline constexpr int txtPath = Id(ControlId::txtPath);
inline constexpr int DrvList = Id(ControlId::DrvList);
inline constexpr int dirList = Id(ControlId::dirList);
inline constexpr int cmdOk = Id(ControlId::cmdOk);
inline constexpr int cmdDefault = Id(ControlId::cmdDefault);
inline constexpr int cmdCancel = Id(ControlId::cmdCancel);
inline constexpr int cmdRemove = Id(ControlId::cmdRemove);
inline constexpr int lstUsedLtrs = Id(ControlId::lstUsedLtrs);
inline constexpr int Label3 = Id(ControlId::Label3);
inline constexpr int Label1 = Id(ControlId::Label1);
inline constexpr int Label2 = Id(ControlId::Label2);

// The menu's commands.
inline constexpr int MnuHelpIntro = 2001;
inline constexpr int mnuHelpCreate = 2002;
inline constexpr int mnuHelpCD = 2003;
inline constexpr int mnuHelpKB = 2004;
inline constexpr int mnuHelpPerm = 2005;
inline constexpr int mnuHelpRemove = 2006;
inline constexpr int mnuHelpMisc = 2007;
inline constexpr int mnuHelpSupport = 2008;
inline constexpr int mnuHelpOrder = 2009;
inline constexpr int mnuHelpLicense = 2010;
inline constexpr int mnuAbout = 2020;
inline constexpr int mnuRepair = 2021;
inline constexpr int mnuChk4Upgrade = 2022;
inline constexpr int mnuView = 2023;

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
