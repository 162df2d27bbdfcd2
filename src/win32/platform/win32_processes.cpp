#include "win32/platform/win32_processes.h"

// <windows.h> must come before the shell headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "win32/platform/handles.h"
#include "win32/platform/modal_wait.h"
#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {

DWORD WaitLimit(int limitMs) { return limitMs < 0 ? 0 : static_cast<DWORD>(limitMs); }

// Waits until the process ends or the limit passes, as a box waits: the window stays alive
// (it paints, moves and answers what other programs send it, such as the drive-change broadcast
// the process itself may be waiting on) and takes no command meanwhile.
bool WaitAnsweringSentMessages(HANDLE process, DWORD limitMs) {
  return ModalWait(process, limitMs) == WaitEnd::Signalled;
}

// Fills in whether the process ended within the limit and, if so, its exit code.
void AwaitProcess(HANDLE process, int limitMs, ProcessOutcome& outcome) {
  if (!WaitAnsweringSentMessages(process, WaitLimit(limitMs))) return;
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return;
  outcome.finished = true;
  outcome.exitCode = code;
}

}  // namespace

ProcessOutcome Win32Processes::RunHidden(const std::string& commandLine,
                                         const std::string& directory, int limitMs) {
  ProcessOutcome outcome;
  // CreateProcessW may write into the command line, so it gets a buffer of its own.
  std::wstring line = Widen(commandLine);
  line.push_back(L'\0');
  const std::wstring folder = Widen(directory);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info = {};
  // Detached: a console program gets no console at all, so none flashes up and no console
  // host has to start for output nobody reads.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return outcome;
  }
  const KernelHandle process(info.hProcess);
  const KernelHandle thread(info.hThread);
  outcome.started = true;
  AwaitProcess(process.Get(), limitMs, outcome);
  return outcome;
}

ProcessOutcome Win32Processes::ShellRun(const std::string& verb, const std::string& file,
                                        const std::string& parameters, const std::string& directory,
                                        int limitMs) {
  ProcessOutcome outcome;
  const std::wstring wideVerb = Widen(verb);
  const std::wstring wideFile = Widen(file);
  const std::wstring wideParameters = Widen(parameters);
  const std::wstring wideDirectory = Widen(directory);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = wideVerb.empty() ? nullptr : wideVerb.c_str();
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
  info.lpDirectory = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info)) return outcome;
  outcome.started = true;
  if (!info.hProcess) {
    // Handed to something that was already running (a DDE conversation, an open window):
    // nothing of ours is left to wait for.
    outcome.finished = true;
    return outcome;
  }
  const KernelHandle process(info.hProcess);
  AwaitProcess(process.Get(), limitMs, outcome);
  return outcome;
}

}  // namespace kestrane::win32
