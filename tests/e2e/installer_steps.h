#pragma once

// Installing and uninstalling Kestrane in a bed the way a user's machine gets it: through the
// Windows installer, run silently, and its uninstaller, also with its pages.

#include <string>

#include "e2e_support.h"

namespace e2e {

// The installer built with this driver, as a Windows path.
std::wstring SetupExe();
// The folder the installer puts the program in.
std::wstring InstallFolder();
// The Start-menu shortcut, in the all-users Programs folder.
std::wstring ShortcutPath();

// Runs the installer with /S and waits for it; its exit code, or -1 when it did not end in time.
long RunSilentSetup();
// Runs the installed uninstaller with /S and the further arguments. It hands the work to a copy of
// itself and returns at once, so this waits until the program's folder has gone; false when it is
// still there.
bool RunSilentUninstall(const std::wstring& arguments = {});
// Starts the installed uninstaller with its pages. "_?=" keeps it in the program's folder instead
// of a copy in %TEMP%, so its windows belong to the process started here; uninst.exe stays behind.
Program StartUninstaller();

// Runs an Explorer verb of folders on `folder` through the shell, as a pick on the folder's menu
// does; the process it started, to be closed by the caller, or null.
HANDLE RunFolderVerb(const wchar_t* verb, const std::wstring& folder);

}  // namespace e2e
