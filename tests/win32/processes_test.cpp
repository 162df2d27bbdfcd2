#include <gtest/gtest.h>
#include <windows.h>

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
