#pragma once
#include <windows.h>

#include "platform/shell.h"
#include "win32/platform/handles.h"

namespace kestrane::win32 {

class Win32Shell : public Shell {
 public:
  Win32Shell() = default;
  ~Win32Shell() override;

  // The window the help viewer belongs to; set once the main window exists.
  void SetOwner(HWND owner) { owner_ = owner; }

  FolderAnswer AppDataFolder() override;
  std::string StartupFolder() override;
  std::string SystemFolder() override;
  std::string ProgramFolder() override;
  OsVersion Version() override;
  void OpenWebPage(const std::string& address) override;
  void HtmlHelp(const std::string& file, unsigned command, unsigned long data) override;

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  HtmlHelpFunction Viewer();

  HWND owner_ = nullptr;
  Module viewer_;
  HtmlHelpFunction htmlHelp_ = nullptr;
  bool viewerTried_ = false;
};

}  // namespace kestrane::win32
