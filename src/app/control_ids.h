#pragma once

// Control and command identifiers of both windows, shared by the user interface and by the
// programs that drive it from outside.
namespace kestrane::ids {

inline constexpr wchar_t kMainWindowClass[] = L"KestraneMainWindow";
inline constexpr wchar_t kAboutWindowClass[] = L"KestraneAboutBox";
inline constexpr wchar_t kInputWindowClass[] = L"KestraneInputBox";

inline constexpr int lstAvail = 1001;
inline constexpr int txtPath = 1002;
inline constexpr int DrvList = 1003;
inline constexpr int dirList = 1004;
inline constexpr int cmdOk = 1005;
inline constexpr int cmdDefault = 1006;
inline constexpr int cmdCancel = 1007;
inline constexpr int cmdRemove = 1008;
inline constexpr int lstUsedLtrs = 1009;
inline constexpr int Label3 = 1010;
inline constexpr int Label1 = 1011;
inline constexpr int Label2 = 1012;

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

// About box.
inline constexpr int cmdOK = 1;  // IDOK
inline constexpr int picIcon = 3001;
inline constexpr int lblDescription = 3002;
inline constexpr int lblTitle = 3003;
inline constexpr int lblVersion = 3004;
inline constexpr int lblDisclaimer = 3005;

// Input box.
inline constexpr int inputPrompt = 3101;
inline constexpr int inputText = 3102;

}  // namespace kestrane::ids
