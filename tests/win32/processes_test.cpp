#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "test_folder.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"

namespace kestrane::win32 {
namespace {

std::string Sleeper() { return Win32Shell().ProgramFolder() + "\\win32_sleeper.exe"; }
// The command interpreter by its full path, quoted, as every program is named to the adapter.
std::string Cmd() { return "\"" + Win32Shell().SystemFolder() + "\\cmd.exe\""; }

class ProcessesTest : public testing::Test {
 protected:
  test::TestFolder dir;
  Win32Processes processes;
};

TEST_F(ProcessesTest, RunHiddenWaitsForTheExitCode) {
  const ULONGLONG start = GetTickCount64();
  const ProcessOutcome outcome = processes.RunHidden(Cmd() + " /c exit 3", "", 30000);
  EXPECT_TRUE(outcome.started);
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 3u);
  EXPECT_LT(GetTickCount64() - start, 20000u);  // returned when the child ended, not at the limit
}

TEST_F(ProcessesTest, RunHiddenRunsInTheFolderGiven) {
  dir.MakeFile(L"marker.txt", "x");
  const ProcessOutcome outcome =
      processes.RunHidden(Cmd() + " /c if exist marker.txt exit 5", Narrow(dir.Path()), 30000);
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 5u);
}

// A program named without its full path is never looked for, not even where the system would
// find it: the current folder may hold a planted one of that name.
TEST_F(ProcessesTest, RunHiddenStartsNoProgramByItsNameAlone) {
  for (const char* line : {"cmd.exe /c exit 0", "cmd /c exit 0", "\"cmd.exe\" /c exit 0",
                           "system32\\cmd.exe /c exit 0", "\\cmd.exe /c exit 0",
                           "C:cmd.exe /c exit 0", "\"C:\\no\\such\\program.exe\" /x"}) {
    const ProcessOutcome outcome = processes.RunHidden(line, "", 1000);
    EXPECT_FALSE(outcome.started) << line;
    EXPECT_FALSE(outcome.finished) << line;
  }
}

// Without a folder, the program runs in its own, never in ours, which may be the folder the user
// is choosing.
TEST_F(ProcessesTest, RunCapturedReadsTheOutputAndRunsInTheProgramsFolder) {
  const CapturedRun captured = processes.RunCaptured(Cmd() + " /c cd", "", 30000);
  ASSERT_TRUE(captured.run.finished);
  EXPECT_EQ(captured.run.exitCode, 0u);
  ASSERT_EQ(captured.lines.size(), 1u);
  const auto upper = [](std::string text) {
    std::wstring wide = Widen(text);
    CharUpperW(wide.data());
    return wide;
  };
  EXPECT_EQ(upper(captured.lines[0]), upper(Win32Shell().SystemFolder()));
}

// More than a pipe's usual buffer, in the code page the batch files are written in.
TEST_F(ProcessesTest, RunCapturedReadsALongOutputInTheInterpretersCodePage) {
  const std::string file = dir.At(L"lines.txt");
  Win32Files files;
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) lines.push_back("Caf\xC3\xA9 line " + std::to_string(i));
  files.ReplaceLines(file, lines);
  const CapturedRun captured =
      processes.RunCaptured(Cmd() + " /c type lines.txt", Narrow(dir.Path()), 30000);
  ASSERT_TRUE(captured.run.finished);
  EXPECT_EQ(captured.lines, lines);
}

TEST_F(ProcessesTest, RunHiddenGivesUpAtTheLimitAndLeavesTheChildRunning) {
  const ULONGLONG start = GetTickCount64();
  const ProcessOutcome outcome = processes.RunHidden("\"" + Sleeper() + "\" 3000", "", 300);
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_TRUE(outcome.started);
  EXPECT_FALSE(outcome.finished);
  EXPECT_GE(took, 250u);
  EXPECT_LT(took, 2500u);
}

// A window on the waiting thread that notes what reaches it, and how it stood then.
struct Listener {
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) sentAt = GetTickCount64();
    if (message == WM_APP + 1) {
      postedAt = GetTickCount64();
      enabledThen = IsWindowEnabled(window) != FALSE;
      closeState = GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  static inline ULONGLONG sentAt = 0;
  static inline ULONGLONG postedAt = 0;
  static inline bool enabledThen = true;
  static inline UINT closeState = 0;
};

// As under a box: the window takes what is sent and posted to it while the child runs, disabled
// and with its close box greyed, and is given back as it was.
TEST_F(ProcessesTest, RunHiddenKeepsTheWindowAnsweringDisabledWhileTheChildRuns) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Listener::Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KstListener";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowW(L"KstListener", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    100, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  Listener::sentAt = Listener::postedAt = 0;
  const HANDLE sender = CreateThread(
      nullptr, 0,
      [](void* parameter) -> DWORD {
        const HWND to = static_cast<HWND>(parameter);
        Sleep(300);  // the child is running and the caller waiting by now
        PostMessageW(to, WM_APP + 1, 0, 0);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(to, WM_APP, 0, 0, SMTO_NORMAL, 5000, &ignored);
        return 0;
      },
      window, 0, nullptr);
  const ProcessOutcome outcome = processes.RunHidden("\"" + Sleeper() + "\" 1500", "", 30000);
  const ULONGLONG ended = GetTickCount64();
  WaitForSingleObject(sender, 10000);
  CloseHandle(sender);
  EXPECT_TRUE(outcome.finished);
  ASSERT_NE(Listener::sentAt, 0u);
  ASSERT_NE(Listener::postedAt, 0u) << "the posted message was left queued";
  EXPECT_LT(Listener::sentAt + 500, ended);  // answered while the child still ran, not after
  EXPECT_LT(Listener::postedAt + 500, ended);
  EXPECT_FALSE(Listener::enabledThen);
  EXPECT_NE(Listener::closeState & MF_GRAYED, 0u);
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_EQ(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  DestroyWindow(window);
}

}  // namespace
}  // namespace kestrane::win32
