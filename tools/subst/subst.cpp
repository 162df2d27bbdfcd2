// subst.exe for Wine beds: Wine's own command is a stub, so this one gives a folder a drive letter
// the way Windows does (a \??\ link that QueryDosDevice reports) and, because Wine's file system
// does not follow such links, also a mount-manager drive over the folder so that files can be
// reached.

#include <windows.h>
// After windows.h, which it builds on.
#include <dbt.h>

#include <cwctype>
#include <string>
#include <vector>

#include "wine_mount.h"

namespace {

constexpr wchar_t kLinkPrefix[] = L"\\??\\";
constexpr int kRefused = 1;

void Write(DWORD stream, const std::wstring& text) {
  HANDLE out = GetStdHandle(stream);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  // Redirected (cmd /c subst > file): bytes in the OEM code page, as the console would show them.
  int size = WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int Refuse(const std::wstring& message) {
  Write(STD_ERROR_HANDLE, message + L"\r\n");
  return kRefused;
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text ? text : L"Error " + std::to_wstring(error);
  LocalFree(text);
  while (!message.empty() && std::iswspace(message.back())) message.pop_back();
  return message;
}

std::wstring DeviceName(wchar_t letter) { return {letter, L':'}; }

// The folder a letter is substituted for, or empty when the letter is free or a real drive.
std::wstring SubstTarget(wchar_t letter) {
  std::vector<wchar_t> target(32768);
  if (!QueryDosDeviceW(DeviceName(letter).c_str(), target.data(),
                       static_cast<DWORD>(target.size()))) {
    return {};
  }
  std::wstring first(target.data());
  if (first.rfind(kLinkPrefix, 0) != 0) return {};
  return first.substr(std::size(kLinkPrefix) - 1);
}

bool DriveExists(wchar_t letter) {
  return (GetLogicalDrives() & (1u << (letter - L'A'))) != 0 || !SubstTarget(letter).empty();
}

bool IsDriveArgument(const std::wstring& arg) {
  return arg.size() == 2 && arg[1] == L':' && arg[0] < 128 && std::iswalpha(arg[0]);
}

bool IsSwitch(const std::wstring& arg, const wchar_t* name) {
  return arg.size() == 2 && arg[0] == L'/' && std::towupper(arg[1]) == name[0];
}

int List() {
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    std::wstring target = SubstTarget(letter);
    if (!target.empty())
      Write(STD_OUTPUT_HANDLE, DeviceName(letter) + L"\\: => " + target + L"\r\n");
  }
  return 0;
}

int Usage() {
  Write(STD_OUTPUT_HANDLE,
        L"Associates a path with a drive letter.\r\n\r\n"
        L"SUBST [drive1: [drive2:]path]\r\n"
        L"SUBST drive1: /D\r\n\r\n"
        L"  drive1:        Specifies a virtual drive to which you want to assign a path.\r\n"
        L"  [drive2:]path  Specifies a physical drive and path you want to assign to\r\n"
        L"                 a virtual drive.\r\n"
        L"  /D             Deletes a substituted (virtual) drive.\r\n\r\n"
        L"Type SUBST with no parameters to display a list of current virtual drives.\r\n");
  return 0;
}

// Tells every top-level window that a drive came or went, as Windows does when a letter is
// defined or removed, so that programs listing drives can follow without polling. Like the
// system's own announcement, it waits for a window that is slow but still answering messages, and
// passes over one that has stopped answering. A bed must never wait for ever, though: past half a
// minute a window is left behind.
void Announce(wchar_t letter, WPARAM event) {
  constexpr UINT kAnswerLimitMs = 30000;
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (letter - L'A');
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                      SMTO_ABORTIFHUNG | SMTO_NOTIMEOUTIFNOTHUNG, kAnswerLimitMs, &answer);
}

std::wstring Root(wchar_t letter) { return {letter, L':', L'\\'}; }

// Whether the drive answers as one of Windows' own does once subst has returned: its type, its
// volume and a listing of its root.
bool Answers(wchar_t letter) {
  const std::wstring root = Root(letter);
  if (GetDriveTypeW(root.c_str()) <= DRIVE_NO_ROOT_DIR) return false;  // nor unknown
  DWORD serial = 0;
  if (!GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
    return false;
  }
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((root + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // empty
  FindClose(search);
  return true;
}

bool Gone(wchar_t letter) {
  wchar_t target[MAX_PATH];
  return (GetLogicalDrives() & (1u << (letter - L'A'))) == 0 &&
         !QueryDosDeviceW(DeviceName(letter).c_str(), target, MAX_PATH);
}

// Wine's mount manager finishes a drive a moment after it was asked to, where Windows' subst
// returns only once the change is complete; a program that lists its drives as soon as subst
// ends must find them as they are now. Polled, as there is nothing to wait on; false when the
// change has not shown within a few seconds.
template <typename Done>
bool Settled(Done done) {
  constexpr ULONGLONG kSettleLimitMs = 5000;
  const ULONGLONG end = GetTickCount64() + kSettleLimitMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
  return true;
}

int Remove(wchar_t letter, const std::wstring& shown) {
  if (SubstTarget(letter).empty()) return Refuse(L"Invalid parameter - " + shown);
  // The mount manager drops both the drive and the \??\ link; the explicit removal covers a
  // link whose drive was already taken away by other means.
  wine_mount::RemoveDrive(letter);
  if (!SubstTarget(letter).empty()) {
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, DeviceName(letter).c_str(), nullptr);
  }
  if (!Settled([letter] { return Gone(letter); })) return Refuse(SystemMessage(ERROR_BUSY));
  Announce(letter, DBT_DEVICEREMOVECOMPLETE);
  return 0;
}

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(size);
  // "C:\Data\" names the same folder as "C:\Data"; only a root keeps its backslash.
  if (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int Create(wchar_t letter, const std::wstring& shown, const std::wstring& folder) {
  if (!SubstTarget(letter).empty()) return Refuse(L"Drive already SUBSTed");
  if (DriveExists(letter)) return Refuse(L"Invalid parameter - " + shown);
  // As Windows reads any path given without \\?\: a last name loses its trailing spaces and
  // dots, so "C:\Data " is C:\Data.
  std::wstring full = FullPath(folder);
  if (full.empty() || !IsFolder(full)) return Refuse(L"Path not found - " + folder);
  // A drive's target stays within the classic limit, the terminator included; Wine's own calls
  // would take a longer one.
  if (full.size() >= MAX_PATH) return Refuse(SystemMessage(ERROR_FILENAME_EXCED_RANGE));

  std::wstring device = DeviceName(letter);
  if (!DefineDosDeviceW(0, device.c_str(), full.c_str())) {
    return Refuse(SystemMessage(GetLastError()));
  }
  if (DWORD error = wine_mount::DefineDrive(letter, DRIVE_FIXED, full); error != ERROR_SUCCESS) {
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    return Refuse(SystemMessage(error));
  }
  if (!Settled([letter] { return Answers(letter); })) {
    // A drive that never came is no mapping: nothing is left behind for a later run to trip on.
    wine_mount::RemoveDrive(letter);
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    return Refuse(SystemMessage(ERROR_NOT_READY));
  }
  Announce(letter, DBT_DEVICEARRIVAL);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  if (args.empty()) return List();
  if (args.size() == 1 && IsSwitch(args[0], L"?")) return Usage();
  if (!IsDriveArgument(args[0])) return Refuse(L"Invalid parameter - " + args[0]);
  if (args.size() != 2) {
    return Refuse(L"Incorrect number of parameters - " + (args.size() == 1 ? args[0] : args[2]));
  }
  wchar_t letter = static_cast<wchar_t>(std::towupper(args[0][0]));
  if (IsSwitch(args[1], L"D")) return Remove(letter, args[0]);
  if (args[1].starts_with(L"/")) return Refuse(L"Invalid parameter - " + args[1]);
  return Create(letter, args[0], args[1]);
}
