#include "win32/platform/win32_processes.h"

// <windows.h> must come before the shell headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "win32/platform/handles.h"
#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {

DWORD WaitLimit(int limitMs) { return limitMs < 0 ? 0 : static_cast<DWORD>(limitMs); }

// Sleeps until the process ends or the limit passes. Messages other programs send meanwhile
// (a drive-change broadcast, a window lookup) are answered, so nobody waits on us in turn, and
// the windows are painted, so a long wait shows a window rather than a hole; clicks and keys
// stay queued until the command is over.
bool WaitAnsweringSentMessages(HANDLE process, DWORD limitMs) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= end ? 0 : static_cast<DWORD>(end - now);
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &process, left, QS_SENDMESSAGE | QS_PAINT, 0);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;  // the limit, or a failed wait
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    // Bounded: a window that never validates its area would otherwise keep this loop to itself.
    for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
      DispatchMessageW(&msg);
    }
  }
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
