#include <cstdio>
#include <stdexcept>

#include "e2e_support.h"

namespace e2e {
namespace {

struct Search {
  DWORD processId;
  const std::wstring& windowClass;
  const std::function<bool(HWND)>& wanted;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return TRUE;
  wchar_t className[256] = {};
  GetClassNameW(window, className, 256);
  if (className != search.windowClass || !search.wanted(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// Where the run collects the starts tried a second time, for its summary: a file named by
// KESTRANE_RETRIED_STARTS, one line per start. Without it they are only printed.
void NoteRetriedStart(const std::wstring& commandLine, DWORD firstError, bool startedAgain) {
  const DWORD size = GetEnvironmentVariableW(L"KESTRANE_RETRIED_STARTS", nullptr, 0);
  if (size == 0) return;
  std::wstring path(size, L'\0');
  path.resize(GetEnvironmentVariableW(L"KESTRANE_RETRIED_STARTS", path.data(), size));
  const std::string line = "\"" + Narrow(commandLine) + "\": error " + std::to_string(firstError) +
                           " at the first start, " +
                           (startedAgain ? "started at the second" : "failed again") + "\n";
  const HANDLE file =
      CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
    std::fprintf(stderr, "the retried start could not be noted, error %lu\n", GetLastError());
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// On a loaded machine a start under Wine was seen to fail at once (errors 1359 and others) while
// the next start worked. One more try keeps that from failing a test of something else; each
// failure is printed with its error and each second try is noted for the run's summary, so a
// real fault still shows.
bool StartProcess(const wchar_t* exe, const std::wstring& commandLine, BOOL inheritHandles,
                  DWORD flags, const std::wstring& folder, STARTUPINFOW& startup,
                  PROCESS_INFORMATION& info) {
  DWORD firstError = 0;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    std::wstring line = commandLine;
    if (CreateProcessW(exe, line.data(), nullptr, nullptr, inheritHandles, flags, nullptr,
                       folder.c_str(), &startup, &info)) {
      if (attempt > 1) NoteRetriedStart(commandLine, firstError, true);
      return true;
    }
    const DWORD error = GetLastError();
    std::fprintf(stderr, "start %d of \"%s\" failed, error %lu\n", attempt,
                 Narrow(commandLine).c_str(), error);
    if (attempt == 1) firstError = error;
  }
  NoteRetriedStart(commandLine, firstError, false);
  SetLastError(firstError);
  return false;
}

}  // namespace

std::wstring FolderOf(const std::wstring& path) {
  auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring InstalledExe() {
  wchar_t folder[MAX_PATH] = {};
  DWORD size = GetEnvironmentVariableW(L"ProgramW6432", folder, MAX_PATH);
  if (size == 0 || size >= MAX_PATH) GetEnvironmentVariableW(L"ProgramFiles", folder, MAX_PATH);
  return std::wstring(folder) + L"\\Kestrane\\kestrane.exe";
}

std::wstring DriverFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return FolderOf(path);
}

Program Program::Start(const std::wstring& exe, const std::wstring& arguments,
                       const std::wstring& workingFolder) {
  std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  const std::wstring folder = workingFolder.empty() ? FolderOf(exe) : workingFolder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!StartProcess(exe.c_str(), commandLine, FALSE, 0, folder, startup, info)) {
    throw std::runtime_error("cannot start the program, error " + std::to_string(GetLastError()));
  }
  return Program(info);
}

Program::Program(Program&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Program::~Program() {
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Program::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::WaitForExit(Duration limit) {
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND Program::FindVisible(const wchar_t* windowClass) const {
  return FindWindowOf(Id(), windowClass, [](HWND window) { return IsWindowVisible(window); });
}

HWND Program::WaitForWindow(const wchar_t* windowClass, const wchar_t* title,
                            Duration limit) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        found = FindWindowOf(Id(), windowClass, [&](HWND window) {
          return IsWindowVisible(window) && (title == nullptr || TextOf(window) == title);
        });
        return found != nullptr || !Running();
      },
      limit);
  return found;
}

HWND FindWindowOf(DWORD processId, const std::wstring& windowClass,
                  const std::function<bool(HWND)>& wanted) {
  Search search{processId, windowClass, wanted, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace e2e

namespace e2e {

std::optional<CommandResult> RunCommand(const std::wstring& commandLine,
                                        const std::wstring& workingFolder, Duration limit) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  // Large enough that a command never blocks on a full pipe before it ends.
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16)) {
    std::fprintf(stderr, "RunCommand: no pipe, error %lu\n", GetLastError());
    return std::nullopt;
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION info{};
  const bool started =
      StartProcess(nullptr, commandLine, TRUE, CREATE_NO_WINDOW, workingFolder, startup, info);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return std::nullopt;
  }
  std::optional<CommandResult> result;
  const DWORD waited = WaitForSingleObject(info.hProcess, static_cast<DWORD>(limit.count()));
  if (waited != WAIT_OBJECT_0) {
    const DWORD error = GetLastError();
    std::fprintf(stderr, "RunCommand: \"%s\" did not end (wait %lu, error %lu)\n",
                 Narrow(commandLine).c_str(), waited, error);
  }
  if (waited == WAIT_OBJECT_0) {
    result.emplace();
    GetExitCodeProcess(info.hProcess, &result->exitCode);
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) {
      result->output.append(chunk, got);
    }
  } else {
    TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(readEnd);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return result;
}

}  // namespace e2e
