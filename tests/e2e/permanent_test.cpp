// Make Permanent, View and Restore through the window: the boxes the user answers, and what is
// left in the startup batch file, the data file's letter mask and the drive table.

#include <chrono>
#include <cstdio>
#include <cwchar>

#include "program_test.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

const std::string kWorkLine = "subst K: \"C:\\Work\"\r\n";
constexpr wchar_t kMapped[] = L"KLMPQ";

const BoxShown kMakeWorkPermanent = {
    L"This feature will place a file in your Startup Folder!\r\n\r\n"
    L"Save \"K:\\\" as:  \"C:\\Work\"\r\npermanently?",
    L"Make Permanent?", Icon::None, kOkCancel};

class PermanentDrives : public ProgramTest {
 protected:
  PermanentDrives() { quiet_ = 2s; }

  // Make Permanent pressed and its confirmation, which must name K: and C:\Work, accepted.
  ::testing::AssertionResult ConfirmMakePermanent() {
    Press(ids::cmdDefault);
    return AnswerNext(kMakeWorkPermanent, IDOK);
  }

  void ExpectOneDoneBox() {
    ASSERT_TRUE(AnswerNext(kDone, IDOK));
    EXPECT_TRUE(Quiet()) << "a second box followed \"Done!\"";
  }

  // C:\Work opened in the folder list and K: picked among the free letters, then `press`: Add
  // or Make Permanent, which each end in one "Done!".
  void MapWorkAsK(int press) {
    ASSERT_TRUE(OpenFolder(main_, kWork));
    ASSERT_TRUE(PickFree(L'K'));
    if (press == ids::cmdDefault) {
      ASSERT_TRUE(ConfirmMakePermanent());
    } else {
      Press(press);
    }
    ExpectOneDoneBox();
  }

  // View's notice accepted; the result box that follows.
  std::optional<Box> View() {
    Choose(ids::mnuView);
    const BoxShown notice = {L"This will list all of your Virtual Drives", L"View Virtual Drives",
                             Icon::Information, kOkCancel};
    if (!AnswerNext(notice, IDOK)) return std::nullopt;
    return NextBox();
  }
};

TEST_F(PermanentDrives, MakePermanentMapsANewLetterOnceAndRefusesItTheSecondTime) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_NO_FATAL_FAILURE(MapWorkAsK(ids::cmdDefault));
  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
  EXPECT_TRUE(Lists(Used(), L'K'));
  EXPECT_FALSE(Lists(Free(), L'K'));

  // The letter now stands in the used list.
  ASSERT_TRUE(PickUsed(L'K'));
  ASSERT_TRUE(ConfirmMakePermanent());
  ASSERT_TRUE(AnswerNext(Error(L"This Letter, \"K\", is already assigned to a Folder!"), IDOK))
      << "after the second confirmation";
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

TEST_F(PermanentDrives, MakePermanentOfALetterMappedWithAddSaysDoneOnceAtTheEnd) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_NO_FATAL_FAILURE(MapWorkAsK(ids::cmdOk));
  ASSERT_TRUE(Lists(Used(), L'K'));
  ASSERT_FALSE(Exists(Batch()));

  ASSERT_TRUE(PickUsed(L'K'));
  ASSERT_TRUE(ConfirmMakePermanent());
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());

  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

// A profile whose Startup folder was never made, or was deleted, gets it back as Windows
// programs make it: the feature is there all the same.
TEST_F(PermanentDrives, MakePermanentCreatesAMissingStartupFolder) {
  DeleteTree(StartupFolder());
  ASSERT_FALSE(Exists(StartupFolder()));
  ASSERT_NE(Start(), nullptr);
  ASSERT_NO_FATAL_FAILURE(MapWorkAsK(ids::cmdDefault));
  EXPECT_TRUE(Exists(StartupFolder()));
  EXPECT_EQ(BatchText(), kWorkLine);
}

TEST_F(PermanentDrives, StartupFileMakesAPermanentLetterAgainAtTheNextLogon) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_NO_FATAL_FAILURE(MapWorkAsK(ids::cmdDefault));

  // Removed for this session only: the letter stays permanent.
  ASSERT_TRUE(PickUsed(L'K'));
  Press(ids::cmdRemove);
  auto asked = NextBox();
  ASSERT_TRUE(asked) << "no question after Remove";
  ASSERT_TRUE(Answer(*asked, IDNO));
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());
  ASSERT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));

  auto logon = RunCommand(L"cmd.exe /c subit.bat", StartupFolder());
  ASSERT_TRUE(logon) << "the batch file did not run to its end";
  EXPECT_EQ(logon->exitCode, 0u) << logon->output;
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

TEST_F(PermanentDrives, ViewShowsExactlyTheListingOfEveryMapping) {
  ASSERT_TRUE(Map(L'K', kWork));
  ASSERT_TRUE(Map(L'L', kBeds));
  ASSERT_NE(Start(), nullptr);

  auto shown = View();
  ASSERT_TRUE(shown) << "no listing after View";
  EXPECT_TRUE(Looks(*shown, {L"K:\\: => C:\\Work\r\nL:\\: => C:\\Beds\r\n",
                             L"Assigned Virtual Drives", Icon::None, kOkOnly}));
  ASSERT_TRUE(Answer(*shown, IDOK));
  EXPECT_TRUE(Quiet());
  EXPECT_FALSE(Exists(DataFolder() + L"temp"));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

TEST_F(PermanentDrives, ViewWithNoMappingSaysThereIsNone) {
  ASSERT_NE(Start(), nullptr);

  auto shown = View();
  ASSERT_TRUE(shown) << "no answer after View";
  EXPECT_TRUE(Looks(*shown, {L"There are no assigned Virtual Drives", L"Assigned Virtual Drives",
                             Icon::Exclamation, kOkOnly}));
  ASSERT_TRUE(Answer(*shown, IDOK));
  EXPECT_FALSE(Exists(DataFolder() + L"temp"));
}

// The user's own lines in subit.bat are theirs: Restore takes out only the letters' lines.
TEST_F(PermanentDrives, RestoreRemovesEveryMappingAndThePermanentLettersButNotTheUsersLines) {
  for (const wchar_t* letter = kMapped; *letter; ++letter) {
    ASSERT_TRUE(Map(*letter, *letter == L'K' ? kWork : kBeds)) << "cannot prepare a mapping";
  }
  const std::string users = "@echo off\r\nnet use X: \\\\server\\share\r\n";
  WriteText(Batch(), "@echo off\r\n" + kWorkLine + "net use X: \\\\server\\share\r\n" +
                         "subst P: \"C:\\Beds\"\r\n");
  WriteDataFileWithMask(kInitialMask | Bit(L'K') | Bit(L'P'));
  ASSERT_NE(Start(), nullptr);
  for (const wchar_t* letter = kMapped; *letter; ++letter) ASSERT_TRUE(Lists(Used(), *letter));

  Choose(ids::mnuRepair);
  auto confirm = NextBox();
  ASSERT_TRUE(confirm) << "no confirmation after Restore";
  EXPECT_TRUE(Looks(*confirm, {L"This will restore QOR to its initial state,\r\n"
                               L"i.e., remove all vitual drives, including\r\n"
                               L"permanent virtual drives for Pro users!",
                               L"Restore QOR", Icon::Exclamation, kOkCancel}));
  const auto accepted = Clock::now();
  ASSERT_TRUE(Answer(*confirm, IDOK));
  auto noDriveLeft = [] {
    for (const wchar_t* letter = kMapped; *letter; ++letter) {
      if (Mapped(*letter)) return false;
    }
    return true;
  };
  // The mask is reset last.
  const bool restored = WaitFor(
      [&] { return noDriveLeft() && BatchText() == users && StoredMask() == kInitialMask; }, 60s);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - accepted);
  std::printf("[   TIME   ] Restore with %zu mappings: %lld ms\n", std::wcslen(kMapped),
              static_cast<long long>(elapsed.count()));
  RecordProperty("restore_ms", static_cast<int>(elapsed.count()));
  ASSERT_TRUE(restored) << "drives, letters' lines or the mask left after Restore; subit.bat: "
                        << BatchText();
  EXPECT_TRUE(Quiet()) << "Restore ends without a box";
  for (const wchar_t* letter = kMapped; *letter; ++letter) {
    EXPECT_TRUE(Lists(Free(), *letter)) << "letter " << char(*letter) << " not free again";
    EXPECT_FALSE(InDriveList(*letter)) << "the drive list still offers " << char(*letter);
  }
  EXPECT_FALSE(Exists(DataFolder() + L"temp"));

  // K was permanent before: mapped again, it is now removed without the permanent question.
  ASSERT_NO_FATAL_FAILURE(MapWorkAsK(ids::cmdOk));
  ASSERT_TRUE(PickUsed(L'K'));
  Press(ids::cmdRemove);
  ASSERT_TRUE(AnswerNext(kDone, IDOK)) << "after Remove";
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
}

}  // namespace
