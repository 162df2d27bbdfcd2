#include "installer_steps.h"

#include <shellapi.h>
#include <shlobj.h>

#include "e2e_support.h"

#ifndef KESTRANE_SETUP_EXE
#error "the build names the installer in KESTRANE_SETUP_EXE"
#endif

namespace e2e {

std::wstring SetupExe() {
  // A path of the machine that builds; Wine shows the whole of it as drive Z:.
  std::wstring path = L"Z:" KESTRANE_SETUP_EXE;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring InstallFolder() { return FolderOf(InstalledExe()); }

std::wstring ShortcutPath() { return KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Kestrane.lnk"; }

long RunSilentSetup() {
  const auto result = RunCommand(L"\"" + SetupExe() + L"\" /S", FolderOf(SetupExe()), 60s);
  return result ? static_cast<long>(result->exitCode) : -1;
}

bool RunSilentUninstall(const std::wstring& arguments) {
  const std::wstring uninstaller = InstallFolder() + L"\\uninst.exe";
  if (!RunCommand(L"\"" + uninstaller + L"\" /S " + arguments, AppDataFolder(), 60s)) return false;
  return WaitFor([] { return !Exists(InstallFolder()); }, 60s);
}

Program StartUninstaller() {
  return Program::Start(InstallFolder() + L"\\uninst.exe", L"_?=" + InstallFolder());
}

// Explorer takes the verb from the folder's class. Wine's ShellExecuteEx gives a folder none: it
// opens any folder in its own explorer, whatever the verb, unless the class is named.
HANDLE RunFolderVerb(const wchar_t* verb, const std::wstring& folder) {
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_CLASSNAME;
  run.lpVerb = verb;
  run.lpFile = folder.c_str();
  run.lpClass = L"Directory";
  return ShellExecuteExW(&run) ? run.hProcess : nullptr;
}

}  // namespace e2e
