#include "win32/platform/win32_shell.h"

#include <htmlhelp.h>
#include <shellapi.h>
#include <shlobj.h>

// The header maps this name onto HtmlHelpW, which would rename the port's method.
#undef HtmlHelp

#include "win32/platform/handles.h"
#include "win32/platform/strings.h"

namespace kestrane::win32 {

FolderAnswer Win32Shell::AppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  // Where the folder is now, as the installer found it: a redirected one is not where the
  // default would be.
  const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
  FolderAnswer answer;
  if (hr == S_OK) {
    answer.status = 0;
    answer.path = Narrow(buffer);
  } else if (hr == S_FALSE) {
    answer.status = 1;
    answer.path = Narrow(buffer);
  } else {
    answer.status = static_cast<int>(hr);
  }
  return answer;
}

std::string Win32Shell::StartupFolder() {
  // A profile may lack the folder (never made, or deleted): the shell makes it, as it does for
  // any program that writes there. Only a system without one at all fails.
  wchar_t buffer[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                       buffer) != S_OK) {
    return {};
  }
  return Narrow(buffer);
}

std::string Win32Shell::SystemFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return Narrow(std::wstring(buffer, n));
}

std::string Win32Shell::ProgramFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);  // truncated: try again with more room
  }
  const std::size_t slash = buffer.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? std::wstring() : buffer.substr(0, slash));
}

OsVersion Win32Shell::Version() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  OsVersion version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExW(&info);
#pragma GCC diagnostic pop
  if (!ok) return version;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  return version;
}

void Win32Shell::OpenWebPage(const std::string& address) {
  ShellExecuteW(nullptr, nullptr, Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

Win32Shell::~Win32Shell() {
  // Viewer windows run on code inside the library; close them before it is unloaded.
  if (htmlHelp_) htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

// Loaded on first use rather than imported, so that a machine without the viewer still runs the
// program and help simply shows nothing. From the system folder by its full path: a library of
// that name in the current folder is never the one loaded.
Win32Shell::HtmlHelpFunction Win32Shell::Viewer() {
  if (!viewerTried_) {
    viewerTried_ = true;
    const std::string system = SystemFolder();
    if (!system.empty()) viewer_.Reset(LoadLibraryW(Widen(system + "\\hhctrl.ocx").c_str()));
    if (viewer_) {
      htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
          reinterpret_cast<void*>(GetProcAddress(viewer_.Get(), "HtmlHelpW")));
    }
  }
  return htmlHelp_;
}

void Win32Shell::HtmlHelp(const std::string& file, unsigned command, unsigned long data) {
  if (HtmlHelpFunction viewer = Viewer()) {
    viewer(owner_, Widen(file).c_str(), command, static_cast<DWORD_PTR>(data));
  }
}

}  // namespace kestrane::win32
