// The bed's subst.exe, started the way the program and the command interpreter start it: by name,
// through the normal program search path.

#include <windows.h>
// After windows.h, which it builds on.
#include <dbt.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "program_test.h"
#include "slow_window.h"
#include "wine_mount.h"

namespace {

using namespace e2e;

constexpr wchar_t kData[] = L"C:\\Beds\\Data";

class SubstCommand : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    CreateFolders(kData);
    WriteText(std::wstring(kData) + L"\\hello.txt", "hello\r\n");
  }
  void TearDown() override {
    ProgramTest::TearDown();
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"K:", nullptr);
  }

  static CommandResult Subst(const std::wstring& arguments) {
    auto result = RunCommand(L"subst.exe" + (arguments.empty() ? L"" : L" " + arguments), kBeds);
    EXPECT_TRUE(result.has_value()) << "subst.exe did not start or did not end";
    return result.value_or(CommandResult{99, {}});
  }

  static std::wstring DosTarget(const wchar_t* device) {
    wchar_t target[MAX_PATH] = {};
    return QueryDosDeviceW(device, target, MAX_PATH) ? target : L"";
  }
};

TEST_F(SubstCommand, MapsAFolderListsItAndRemovesIt) {
  CommandResult made = Subst(L"K: \"C:\\Beds\\Data\"");
  ASSERT_EQ(made.exitCode, 0u) << made.output;
  EXPECT_EQ(made.output, "");
  EXPECT_TRUE(Exists(L"K:\\hello.txt"));
  EXPECT_EQ(ReadText(L"K:\\hello.txt"), "hello\r\n");
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_FIXED});
  DWORD serial = 0;
  EXPECT_TRUE(GetVolumeInformationW(L"K:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(DosTarget(L"K:"), L"\\??\\C:\\Beds\\Data");
  EXPECT_EQ(FolderEntries(L"K:\\"), std::vector<std::wstring>{L"hello.txt"});

  CommandResult listed = Subst(L"");
  EXPECT_EQ(listed.exitCode, 0u);
  EXPECT_EQ(listed.output, "K:\\: => C:\\Beds\\Data\r\n");

  CommandResult removed = Subst(L"K: /D");
  ASSERT_EQ(removed.exitCode, 0u) << removed.output;
  EXPECT_FALSE(Exists(L"K:\\hello.txt"));
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_EQ(DosTarget(L"K:"), L"");
  EXPECT_EQ(GetLogicalDrives() & Bit(L'K'), 0u);
  EXPECT_EQ(Subst(L"").output, "");
}

// Windows' subst returns once the drive answers and every window that still answers messages has
// had the announcement, however slow it is: a program that lists its drives right after finds
// the change made.
TEST_F(SubstCommand, AnnouncesTheDriveOnceItAnswersAndWaitsForASlowWindow) {
  SlowWindow window(3000);  // longer than a window was once waited for
  ASSERT_EQ(Subst(L"K: C:\\Beds\\Data").exitCode, 0u);
  ASSERT_EQ(Subst(L"K: /D").exitCode, 0u);

  const auto heard = window.Announcements();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].event, WPARAM{DBT_DEVICEARRIVAL});
  EXPECT_EQ(heard[0].driveType, UINT{DRIVE_FIXED});
  EXPECT_EQ(heard[1].event, WPARAM{DBT_DEVICEREMOVECOMPLETE});
  EXPECT_EQ(heard[1].driveType, UINT{DRIVE_NO_ROOT_DIR});
  for (const auto& announcement : heard) {
    EXPECT_EQ(announcement.units, DWORD(Bit(L'K')));
    EXPECT_TRUE(announcement.answered) << "subst ended before the window had answered";
  }
}

TEST_F(SubstCommand, ResolvesRelativeFoldersAndRootsAndListsMappingsInLetterOrder) {
  ASSERT_EQ(Subst(L"L: Data\\").exitCode, 0u);
  ASSERT_EQ(Subst(L"k: C:\\Beds").exitCode, 0u);
  // A quoted root comes with its backslash doubled, or the quote would be taken literally.
  ASSERT_EQ(Subst(L"M: \"C:\\\\\"").exitCode, 0u);
  EXPECT_EQ(Subst(L"").output, "K:\\: => C:\\Beds\r\nL:\\: => C:\\Beds\\Data\r\nM:\\: => C:\\\r\n");
  EXPECT_TRUE(Exists(L"M:\\Beds\\Data\\hello.txt"));
}

TEST_F(SubstCommand, ListingLeavesOutRealDrivesAndIsWhatTheInterpreterCaptures) {
  ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kData), DWORD{ERROR_SUCCESS});
  ASSERT_EQ(Subst(L"K: C:\\Beds\\Data").exitCode, 0u);

  auto captured = RunCommand(L"cmd.exe /C subst.exe > temp", kBeds);
  ASSERT_TRUE(captured.has_value());
  EXPECT_EQ(captured->exitCode, 0u);
  EXPECT_EQ(ReadText(L"C:\\Beds\\temp"), "K:\\: => C:\\Beds\\Data\r\n");
}

struct Refusal {
  const wchar_t* arguments;
  const char* message;
};

class SubstRefusal : public SubstCommand, public ::testing::WithParamInterface<Refusal> {};

// K: is already mapped and N: is a network drive when each of these runs.
TEST_P(SubstRefusal, PrintsTheMessageExitsWithOneAndChangesNothing) {
  ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kData), DWORD{ERROR_SUCCESS});
  ASSERT_EQ(Subst(L"K: C:\\Beds\\Data").exitCode, 0u);

  CommandResult refused = Subst(GetParam().arguments);
  EXPECT_EQ(refused.exitCode, 1u);
  EXPECT_EQ(refused.output, std::string(GetParam().message) + "\r\n");
  EXPECT_EQ(Subst(L"").output, "K:\\: => C:\\Beds\\Data\r\n");
  EXPECT_EQ(GetDriveTypeW(L"N:\\"), UINT{DRIVE_REMOTE});
  EXPECT_EQ(GetDriveTypeW(L"L:\\"), UINT{DRIVE_NO_ROOT_DIR});
}

INSTANTIATE_TEST_SUITE_P(
    SubstCommand, SubstRefusal,
    ::testing::Values(Refusal{L"C: C:\\Beds\\Data", "Invalid parameter - C:"},
                      Refusal{L"N: C:\\Beds\\Data", "Invalid parameter - N:"},
                      Refusal{L"K: C:\\Beds", "Drive already SUBSTed"},
                      Refusal{L"L: C:\\Beds\\Nowhere", "Path not found - C:\\Beds\\Nowhere"},
                      Refusal{L"L: C:\\Beds\\Data\\hello.txt",
                              "Path not found - C:\\Beds\\Data\\hello.txt"},
                      Refusal{L"L: /D", "Invalid parameter - L:"},
                      Refusal{L"N: /D", "Invalid parameter - N:"},
                      Refusal{L"L:", "Incorrect number of parameters - L:"},
                      Refusal{L"L: C:\\My Data", "Incorrect number of parameters - Data"},
                      Refusal{L"LL C:\\Beds", "Invalid parameter - LL"},
                      Refusal{L"L: /X", "Invalid parameter - /X"}));

}  // namespace
