// Add and Remove Virtual Drive as a user meets them: a folder chosen in the folder list, a letter
// in a letter list, a button, and the boxes that follow; checked by what the drive table and the
// files show afterwards.

#include <chrono>
#include <cstdio>

#include "program_test.h"
#include "wine_mount.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kShare[] = L"C:\\Beds\\Share";
constexpr wchar_t kOther[] = L"C:\\Beds\\Other";

class VirtualDrives : public ProgramTest {};

TEST_F(VirtualDrives, AddMapsTheChosenFolderAndRemoveTakesTheDriveAwayAgain) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, kWork));
  const auto freeBefore = Free();
  const auto usedBefore = Used();
  ASSERT_TRUE(PickFree(L'K'));

  const auto clicked = Clock::now();
  Press(ids::cmdOk);
  auto done = NextBox();
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - clicked);
  ASSERT_TRUE(done) << "no box after Add";
  std::printf("[   TIME   ] Add click to the \"Done!\" box: %lld ms\n",
              static_cast<long long>(elapsed.count()));
  RecordProperty("add_to_done_ms", static_cast<int>(elapsed.count()));
  EXPECT_TRUE(Looks(*done, kDone));
  // The box comes only once subst has finished: the drive is there while it is up.
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_FIXED});
  ASSERT_TRUE(Answer(*done, IDOK));
  EXPECT_FALSE(Lists(Free(), L'K'));
  EXPECT_TRUE(Lists(Used(), L'K'));
  EXPECT_EQ(Free().size() + 1, freeBefore.size());
  EXPECT_TRUE(InDriveList(L'K'));

  ASSERT_TRUE(PickUsed(L'K'));
  Press(ids::cmdRemove);
  ASSERT_TRUE(AnswerNext(kDone, IDOK)) << "after Remove";
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_EQ(FolderEntries(L"K:\\"), std::vector<std::wstring>{});
  EXPECT_EQ(Free(), freeBefore);
  EXPECT_EQ(Used(), usedBefore);
  EXPECT_FALSE(InDriveList(L'K'));
  EXPECT_TRUE(Quiet());
}

TEST_F(VirtualDrives, AddRefusesAFolderOnANetworkDrive) {
  CreateFolders(std::wstring(kShare) + L"\\Projects");
  ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kShare), DWORD{ERROR_SUCCESS});
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, L"N:\\Projects"));
  const auto freeBefore = Free();
  ASSERT_TRUE(PickFree(L'K'));

  Press(ids::cmdOk);
  ASSERT_TRUE(AnswerNext(Error(L"QOR does not work with network drives!"), IDOK)) << "after Add";
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_EQ(Free(), freeBefore);
}

TEST_F(VirtualDrives, AddOfADriveRootAsksFirstAndOnlyYesMapsIt) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, L"C:\\"));
  const auto freeBefore = Free();
  ASSERT_TRUE(PickFree(L'K'));
  const BoxShown question = {
      L"It appears that you have selected a root folder (C:\\), \r\n"
      L"are you sure? Now both C and K will point there.",
      L"Are You Sure?", Icon::None, kYesNoCancel};

  for (int answer : {IDNO, IDCANCEL}) {
    SCOPED_TRACE(answer == IDNO ? "No" : "Cancel");
    Press(ids::cmdOk);
    ASSERT_TRUE(AnswerNext(question, answer)) << "after Add";
    EXPECT_TRUE(Quiet());
    EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
    EXPECT_EQ(Free(), freeBefore);
  }

  Press(ids::cmdOk);
  ASSERT_TRUE(AnswerNext(question, IDYES)) << "after Add";
  ASSERT_TRUE(AnswerNext(kDone, IDOK)) << "after Yes";
  EXPECT_EQ(FolderEntries(L"K:\\"), FolderEntries(L"C:\\"));
  EXPECT_EQ(FolderEntries(L"K:\\Work"), kWorkFiles);
  EXPECT_TRUE(Lists(Used(), L'K'));
}

TEST_F(VirtualDrives, AddOfALetterTakenSinceTheListsWereBuiltReportsItInUse) {
  CreateFolders(kOther);
  WriteText(std::wstring(kOther) + L"\\other.txt", "other\r\n");
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(PickFree(L'K'));
  ASSERT_EQ(wine_mount::DefineDrive(L'K', DRIVE_FIXED, kOther), DWORD{ERROR_SUCCESS});

  Press(ids::cmdOk);
  ASSERT_TRUE(AnswerNext(Error(L"This Letter, \"K\", is in use!"), IDOK)) << "after Add";
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(FolderEntries(L"K:\\"), std::vector<std::wstring>{L"other.txt"});
}

TEST_F(VirtualDrives, RemoveOfAPermanentLetterAsksCancelKeepsItYesTakesItOutOfTheStartupFile) {
  const std::string jLine = "subst J: \"C:\\Beds\"\r\n";
  const std::string lLine = "subst L: \"C:\\Work\"\r\n";
  const std::string kLine = "subst K: \"C:\\Work\"\r\n";
  WriteText(Batch(), jLine + kLine + lLine);
  WriteDataFileWithMask(kInitialMask | Bit(L'J') | Bit(L'K') | Bit(L'L'));
  ASSERT_TRUE(Map(L'K', kWork)) << "subst.exe could not prepare K:";
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(Lists(Used(), L'K'));
  ASSERT_TRUE(PickUsed(L'K'));
  const BoxShown question = {
      L"This drive letter, K, is permanent, do you want it removed permanently?", L"Kestrane",
      Icon::None, kYesNoCancel};

  Press(ids::cmdRemove);
  ASSERT_TRUE(AnswerNext(question, IDCANCEL)) << "after Remove";
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(ReadText(Batch()), jLine + kLine + lLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'J') | Bit(L'K') | Bit(L'L'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);

  Press(ids::cmdRemove);
  ASSERT_TRUE(AnswerNext(question, IDYES)) << "after Remove";
  ASSERT_TRUE(AnswerNext(kDone, IDOK)) << "after Yes";
  EXPECT_EQ(ReadText(Batch()), jLine + lLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'J') | Bit(L'L'));
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_TRUE(Lists(Free(), L'K'));
  EXPECT_FALSE(Exists(StartupFolder() + L"\\temp.dat"));
}

// A folder deleted, or a stick pulled, under its drive: the system still substitutes the letter,
// so it stands among the letters in use and Remove takes it away.
TEST_F(VirtualDrives, ADriveWhoseFolderIsGoneStaysInUseAndRemoveTakesIt) {
  CreateFolders(kOther);
  ASSERT_TRUE(Map(L'G', kOther));
  DeleteTree(kOther);
  ASSERT_NE(Start(), nullptr);
  EXPECT_TRUE(Lists(Used(), L'G'));
  EXPECT_FALSE(Lists(Free(), L'G'));
  ASSERT_TRUE(PickUsed(L'G'));
  Press(ids::cmdRemove);
  EXPECT_TRUE(AnswerNext(kDone, IDOK));
  EXPECT_FALSE(Mapped(L'G'));
  EXPECT_TRUE(WaitFor([&] { return Lists(Free(), L'G'); }));
}

}  // namespace
