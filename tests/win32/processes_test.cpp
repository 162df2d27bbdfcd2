#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

#include "test_folder.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"

namespace kestrane::win32 {
namespace {

std::string Sleeper() { return Win32Shell().ProgramFolder() + "\\win32_sleeper.exe"; }

class ProcessesTest : public testing::Test {
 protected:
  test::TestFolder dir;
  Win32Processes processes;
};

TEST_F(ProcessesTest, RunHiddenWaitsForTheExitCode) {
  const ULONGLONG start = GetTickCount64();
  const ProcessOutcome outcome = processes.RunHidden("cmd.exe /c exit 3", "", 30000);
  EXPECT_TRUE(outcome.started);
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 3u);
  EXPECT_LT(GetTickCount64() - start, 20000u);  // returned when the child ended, not at the limit
}

TEST_F(ProcessesTest, RunHiddenFindsProgramsOnTheSearchPathAndRunsInTheFolderGiven) {
  dir.MakeFile(L"marker.txt", "x");
  const ProcessOutcome outcome =
      processes.RunHidden("cmd /c if exist marker.txt exit 5", Narrow(dir.Path()), 30000);
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 5u);
}

TEST_F(ProcessesTest, RunHiddenOfAMissingProgramDoesNotStart) {
  const ProcessOutcome outcome = processes.RunHidden("kst_no_such_program.exe /x", "", 1000);
  EXPECT_FALSE(outcome.started);
  EXPECT_FALSE(outcome.finished);
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

TEST_F(ProcessesTest, ShellRunStartsAProgramWithAVerbAndWaits) {
  dir.MakeFile(L"marker.txt", "x");
  const ProcessOutcome outcome = processes.ShellRun(
      "open", "cmd.exe", "/c if exist marker.txt exit 4", Narrow(dir.Path()), 30000);
  EXPECT_TRUE(outcome.started);
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 4u);
}

TEST_F(ProcessesTest, ShellRunOfAMissingFileDoesNotStart) {
  const ProcessOutcome outcome =
      processes.ShellRun("open", dir.At(L"kst_missing.exe"), "", "", 1000);
  EXPECT_FALSE(outcome.started);
}

TEST_F(ProcessesTest, ShellRunGivesUpAtTheLimit) {
  const ProcessOutcome outcome = processes.ShellRun("open", Sleeper(), "3000", "", 300);
  EXPECT_TRUE(outcome.started);
  EXPECT_FALSE(outcome.finished);
}

}  // namespace
}  // namespace kestrane::win32
