#include "win32/platform/win32_drives.h"

#include <windows.h>

#include <cctype>
#include <cwchar>
#include <string_view>

#include "platform/file_error.h"
#include "win32/platform/error_map.h"
#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {

// A letter outside A..Z cannot name a drive; treat it like an unused letter.
std::wstring RootOf(char letter) {
  const int upper = std::toupper(static_cast<unsigned char>(letter));
  if (upper < 'A' || upper > 'Z') Fail(err::kDeviceUnavailable);
  return std::wstring{static_cast<wchar_t>(upper), L':', L'\\'};
}

struct VolumeInfo {
  DWORD serial = 0;
  std::wstring label;
};

// Returns the Win32 error, or 0 with the volume's details filled in.
DWORD QueryVolume(const std::wstring& root, VolumeInfo& info) {
  wchar_t label[MAX_PATH + 1] = {};
  DWORD serial = 0;
  if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr,
                             0)) {
    return GetLastError();
  }
  info.serial = serial;
  info.label = label;
  return 0;
}

}  // namespace

Win32Drives::Win32Drives() {
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

DriveType Win32Drives::Type(char letter) {
  switch (GetDriveTypeW(RootOf(letter).c_str())) {
    case DRIVE_REMOVABLE: return DriveType::Removable;
    case DRIVE_FIXED: return DriveType::Fixed;
    case DRIVE_REMOTE: return DriveType::Remote;
    case DRIVE_CDROM: return DriveType::CdRom;
    case DRIVE_RAMDISK: return DriveType::RamDisk;
    case DRIVE_UNKNOWN: return DriveType::Unknown;
    default: Fail(err::kDeviceUnavailable);  // DRIVE_NO_ROOT_DIR: nothing at that letter
  }
}

std::int32_t Win32Drives::SerialNumber(char letter) {
  const std::wstring root = RootOf(letter);
  VolumeInfo info;
  const DWORD error = QueryVolume(root, info);
  if (error == 0) return static_cast<std::int32_t>(info.serial);
  if (error == ERROR_NOT_READY) Fail(err::kDiskNotReady);
  // A letter with no drive behind it fails with a path or drive error; tell that apart from a
  // drive that exists but cannot be read.
  if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) Fail(err::kDeviceUnavailable);
  ThrowLastError(error);
}

std::vector<char> Win32Drives::Letters() {
  const DWORD mask = GetLogicalDrives();
  std::vector<char> out;
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) out.push_back(static_cast<char>('A' + i));
  }
  return out;
}

std::string Win32Drives::Label(char letter) {
  const int upper = std::toupper(static_cast<unsigned char>(letter));
  if (upper < 'A' || upper > 'Z') return {};
  VolumeInfo info;
  if (QueryVolume(std::wstring{static_cast<wchar_t>(upper), L':', L'\\'}, info) != 0) return {};
  return Narrow(info.label);
}

LetterTarget Win32Drives::Target(char letter) {
  const int upper = std::toupper(static_cast<unsigned char>(letter));
  if (upper < 'A' || upper > 'Z') return {};
  // A virtual drive's device is the folder it was given ("\??\C:\Data", or
  // "\??\UNC\server\share" for a share); any other device is a disk, a disc or a redirector.
  const wchar_t name[] = {static_cast<wchar_t>(upper), L':', L'\0'};
  // A folder past the classic path limit needs more room than MAX_PATH.
  std::wstring target(MAX_PATH + 8, L'\0');
  DWORD n = 0;
  while ((n = QueryDosDeviceW(name, target.data(), static_cast<DWORD>(target.size()))) == 0 &&
         GetLastError() == ERROR_INSUFFICIENT_BUFFER && target.size() < 32768 + 8) {
    target.resize(target.size() * 4);
  }
  if (n == 0) return {};
  target.resize(wcslen(target.c_str()));
  constexpr std::wstring_view kFolderPrefix = L"\\??\\";
  constexpr std::wstring_view kSharePrefix = L"UNC\\";
  if (!target.starts_with(kFolderPrefix)) return {LetterKind::Device, {}};
  std::wstring folder = target.substr(kFolderPrefix.size());
  if (folder.starts_with(kSharePrefix)) folder = L"\\\\" + folder.substr(kSharePrefix.size());
  return {LetterKind::Virtual, Narrow(folder)};
}

}  // namespace kestrane::win32
