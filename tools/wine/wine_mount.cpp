#include "wine_mount.h"

#include <winioctl.h>

#include <cstring>
#include <cwctype>
#include <vector>

namespace wine_mount {
namespace {

// Wine's private extension of the mount manager (include/ddk/mountmgr.h in Wine's sources);
// MinGW's headers carry an older, shorter layout of the same request.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(0x6d /* 'm' */, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

enum FsType : ULONG { kFsNtfs = 0, kFsIso9660 = 3 };

struct UnixDriveRequest {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDev;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

using UnixFileNameFn = char*(CDECL*)(LPCWSTR);

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

DWORD UnixPathOf(const std::wstring& windowsFolder, std::string& unixPath) {
  auto convert = reinterpret_cast<UnixFileNameFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return ERROR_NOT_SUPPORTED;  // not running under Wine
  char* path = convert(windowsFolder.c_str());
  if (!path) return ERROR_PATH_NOT_FOUND;
  unixPath = path;
  HeapFree(GetProcessHeap(), 0, path);
  return ERROR_SUCCESS;
}

// A subst drive shows the serial number of the volume it lives on; keep that where it is known.
DWORD SerialOf(const std::wstring& windowsFolder) {
  wchar_t root[MAX_PATH];
  DWORD serial = 0;
  if (GetVolumePathNameW(windowsFolder.c_str(), root, MAX_PATH) &&
      GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
    return serial;
  }
  return 0;
}

DWORD Send(wchar_t letter, UINT type, const std::string& unixPath, DWORD serial) {
  std::vector<char> buffer(sizeof(UnixDriveRequest) + (unixPath.empty() ? 0 : unixPath.size() + 1));
  UnixDriveRequest request{};
  request.size = static_cast<ULONG>(buffer.size());
  request.type = type;
  request.fsType = type == DRIVE_CDROM ? kFsIso9660 : kFsNtfs;
  request.serial = serial;
  request.letter = static_cast<WCHAR>(std::towlower(letter));
  if (!unixPath.empty()) {
    request.mountPointOffset = sizeof(UnixDriveRequest);
    std::memcpy(buffer.data() + sizeof(UnixDriveRequest), unixPath.c_str(), unixPath.size() + 1);
  }
  std::memcpy(buffer.data(), &request, sizeof request);

  Handle manager(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
  if (!manager.valid()) return GetLastError();
  DWORD returned = 0;
  if (!DeviceIoControl(manager.get(), kDefineUnixDrive, buffer.data(),
                       static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr)) {
    return GetLastError();
  }
  return ERROR_SUCCESS;
}

bool IsLetter(wchar_t letter) { return std::iswalpha(letter) && letter < 128; }

}  // namespace

DWORD DefineDrive(wchar_t letter, UINT driveType, const std::wstring& windowsFolder) {
  if (!IsLetter(letter) || driveType < DRIVE_REMOVABLE || driveType > DRIVE_RAMDISK) {
    return ERROR_INVALID_PARAMETER;
  }
  std::string unixPath;
  if (DWORD error = UnixPathOf(windowsFolder, unixPath); error != ERROR_SUCCESS) return error;
  return Send(letter, driveType, unixPath, SerialOf(windowsFolder));
}

DWORD RemoveDrive(wchar_t letter) {
  if (!IsLetter(letter)) return ERROR_INVALID_PARAMETER;
  return Send(letter, DRIVE_NO_ROOT_DIR, {}, 0);
}

}  // namespace wine_mount
