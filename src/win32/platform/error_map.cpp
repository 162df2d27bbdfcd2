#include "win32/platform/error_map.h"

#include "platform/file_error.h"
#include "win32/platform/strings.h"

namespace kestrane::win32 {

int ClassicNumber(DWORD win32Error) {
  switch (win32Error) {
    case ERROR_FILE_NOT_FOUND: return err::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return err::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return err::kPermissionDenied;
    // Another program has the file open: it is in use, not forbidden.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return err::kFileInUse;
    case ERROR_INVALID_DRIVE: return err::kDeviceUnavailable;
    case ERROR_NOT_READY: return err::kDiskNotReady;
    case ERROR_DISK_FULL: return 61;
    default: return err::kPathFileAccess;
  }
}

std::string SystemMessage(DWORD win32Error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, win32Error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  return Narrow(text);
}

void ThrowLastError(DWORD win32Error) {
  const int number = ClassicNumber(win32Error);
  std::string description =
      ErrorDescription(number) + " (Windows error " + std::to_string(win32Error);
  const std::string system = SystemMessage(win32Error);
  if (!system.empty()) description += ": " + system;
  description += ")";
  throw FileError(number, description);
}

}  // namespace kestrane::win32
