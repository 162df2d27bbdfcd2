#pragma once

#include <windows.h>

#include <string>

// Drive letters of any type for Wine beds, made through Wine's mount manager the way its
// configuration tool makes them. Only meaningful under Wine; on Windows every call fails.
namespace wine_mount {

// Gives `letter` a drive of `driveType` (DRIVE_FIXED, DRIVE_REMOTE or DRIVE_CDROM) whose root is
// `windowsFolder`. Returns ERROR_SUCCESS or the Windows error of the step that failed.
DWORD DefineDrive(wchar_t letter, UINT driveType, const std::wstring& windowsFolder);

// Takes `letter` away, whatever defined it (this library, a subst mapping, the prefix).
DWORD RemoveDrive(wchar_t letter);

}  // namespace wine_mount
