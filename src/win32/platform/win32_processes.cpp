#include "win32/platform/win32_processes.h"

#include <windows.h>

#include <cwctype>

#include "platform/text_lines.h"
#include "win32/platform/error_map.h"
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

// The program a command line starts: its first word, unquoted, when that is a full path (a drive
// letter, colon and backslash, or a share); empty otherwise, so that nothing is searched for.
std::wstring ProgramOf(const std::wstring& line) {
  std::wstring program;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    if (close == std::wstring::npos) return {};
    program = line.substr(1, close - 1);
  } else {
    program = line.substr(0, line.find_first_of(L" \t"));
  }
  const auto slash = [](wchar_t ch) { return ch == L'\\' || ch == L'/'; };
  const bool onDrive =
      program.size() > 3 && iswalpha(program[0]) && program[1] == L':' && slash(program[2]);
  const bool onShare = program.size() > 2 && slash(program[0]) && slash(program[1]);
  return onDrive || onShare ? program : std::wstring();
}

// Starts the command line's program, hidden and without a console, in the folder given or else
// in the program's own folder, never in ours: that may be the very folder the user is choosing.
// Its standard output goes to `output` when one is given. The process handle, or null.
HANDLE Start(const std::string& commandLine, const std::string& directory, HANDLE output) {
  const std::wstring wideLine = Widen(commandLine);
  const std::wstring program = ProgramOf(wideLine);
  if (program.empty()) {
    SetLastError(ERROR_BAD_PATHNAME);
    return nullptr;
  }
  std::wstring folder = Widen(directory);
  if (folder.empty()) folder = program.substr(0, program.find_last_of(L"\\/"));
  // CreateProcessW may write into the command line, so it gets a buffer of its own.
  std::wstring line = wideLine;
  line.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  if (output) {
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
  }
  PROCESS_INFORMATION info = {};
  // Detached: a console program gets no console at all, so none flashes up and no console
  // host has to start for output nobody reads.
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, output ? TRUE : FALSE,
                      DETACHED_PROCESS, nullptr, folder.c_str(), &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

}  // namespace

ProcessOutcome Win32Processes::RunHidden(const std::string& commandLine,
                                         const std::string& directory, int limitMs) {
  ProcessOutcome outcome;
  const KernelHandle process(Start(commandLine, directory, nullptr));
  if (!process) return outcome;
  outcome.started = true;
  AwaitProcess(process.Get(), limitMs, outcome);
  return outcome;
}

CapturedRun Win32Processes::RunCaptured(const std::string& commandLine,
                                        const std::string& directory, int limitMs) {
  CapturedRun result;
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  // Room for a listing of all 26 letters at the classic path length many times over, so that
  // subst never waits on a full pipe while we wait on subst.
  constexpr DWORD kPipeBytes = 1 << 16;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, kPipeBytes)) ThrowLastError(GetLastError());
  const KernelHandle reader(readEnd);
  KernelHandle writer(writeEnd);
  // Only the write end goes to the program.
  if (!SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0)) ThrowLastError(GetLastError());
  const KernelHandle process(Start(commandLine, directory, writer.Get()));
  // Once the program has the only write end, the pipe ends when it does.
  writer.Reset();
  if (!process) return result;
  result.run.started = true;
  AwaitProcess(process.Get(), limitMs, result.run);
  if (!result.run.finished) return result;
  // The program has ended and its write end with it: the reads take what is in the pipe and
  // then find it broken, without waiting.
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(reader.Get(), buffer, sizeof buffer, &got, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) break;
      ThrowLastError(error);
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  result.lines = SplitLines(FromOem(bytes));
  return result;
}

}  // namespace kestrane::win32
