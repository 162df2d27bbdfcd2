#include <gtest/gtest.h>

#include "win32/platform/win32_files.h"
#include "win32/platform/win32_shell.h"

namespace kestrane::win32 {
namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + text.size() - tail.size(),
                        static_cast<int>(tail.size()), tail.c_str(),
                        static_cast<int>(tail.size())) == CSTR_EQUAL;
}

class ShellTest : public testing::Test {
 protected:
  Win32Shell shell;
  Win32Files files;
};

TEST_F(ShellTest, TheKnownFoldersExist) {
  const FolderAnswer appData = shell.AppDataFolder();
  EXPECT_EQ(appData.status, 0);
  EXPECT_TRUE(files.DirectoryExists(appData.path, true)) << appData.path;
  const std::string startup = shell.StartupFolder();
  EXPECT_TRUE(EndsWithIgnoringCase(startup, "\\Startup")) << startup;
  EXPECT_TRUE(files.FileExists(shell.SystemFolder() + "\\cmd.exe")) << shell.SystemFolder();
}

TEST_F(ShellTest, TheProgramFolderHoldsTheRunningProgramWithoutATrailingBackslash) {
  const std::string folder = shell.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(files.FileExists(folder + "\\win32_tests.exe")) << folder;
}

TEST_F(ShellTest, VersionIsOfTheNtLine) {
  const OsVersion v = shell.Version();
  EXPECT_EQ(v.platformId, static_cast<unsigned long>(VER_PLATFORM_WIN32_NT));
  EXPECT_GE(v.major, 5u);
}

}  // namespace
}  // namespace kestrane::win32
