// Add and Remove Virtual Drive as a user meets them: a folder chosen in the folder list, a letter
// in a letter list, a button, and the boxes that follow; checked by what the drive table and the
// files show afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwctype>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "expectations.h"
#include "wine_mount.h"

namespace {

using namespace e2e;
namespace ids = kestrane::ids;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kShare[] = L"C:\\Beds\\Share";
constexpr wchar_t kOther[] = L"C:\\Beds\\Other";
constexpr Duration kQuiet = 1500ms;  // how long "no further box" is watched for

// A bed with the data file as installed, the folder C:\Work holding two files, and no startup
// batch file.
class VirtualDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteInitialDataFile();
    MakeWorkFolder();
    CreateFolders(StartupFolder());
    DeleteFileW(Batch().c_str());
  }
  void TearDown() override {
    program_.reset();
    for (wchar_t letter : {L'J', L'K', L'L', L'N'}) wine_mount::RemoveDrive(letter);
    DeleteFileW(Batch().c_str());
  }

  static std::wstring Batch() { return StartupFolder() + L"\\subit.bat"; }

  HWND Start() {
    program_.emplace(Program::Start());
    main_ = program_->WaitForWindow(ids::kMainWindowClass, kMainTitle);
    return main_;
  }
  std::vector<std::wstring> Free() const { return ListItems(Control(main_, ids::lstAvail)); }
  std::vector<std::wstring> Used() const { return ListItems(Control(main_, ids::lstUsedLtrs)); }
  bool InDriveList(wchar_t letter) const {
    for (const auto& entry : ComboItems(Control(main_, ids::DrvList))) {
      if (entry.rfind(std::wstring{static_cast<wchar_t>(std::towlower(letter)), L':'}, 0) == 0) {
        return true;
      }
    }
    return false;
  }
  std::optional<Box> NextBox() const { return WaitForBox(*program_); }
  // True when the program is still running and shows no box for a while.
  bool Quiet() const { return !WaitForBox(*program_, kQuiet) && program_->Running(); }

  std::optional<Program> program_;
  HWND main_ = nullptr;
};

bool Lists(const std::vector<std::wstring>& list, wchar_t letter) {
  return std::find(list.begin(), list.end(), std::wstring{letter, L':'}) != list.end();
}

TEST_F(VirtualDrives, AddMapsTheChosenFolderAndRemoveTakesTheDriveAwayAgain) {
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, kWork));
  const auto freeBefore = Free();
  const auto usedBefore = Used();
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));

  const auto clicked = Clock::now();
  Click(Control(main_, ids::cmdOk));
  auto done = NextBox();
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - clicked);
  ASSERT_TRUE(done) << "no box after Add";
  std::printf("[   TIME   ] Add click to the \"Done!\" box: %lld ms\n",
              static_cast<long long>(elapsed.count()));
  RecordProperty("add_to_done_ms", static_cast<int>(elapsed.count()));
  ExpectBox(*done, L"Operation Completed!", L"Done!", Icon::None, kOkOnly);
  // The box comes only once subst has finished: the drive is there while it is up.
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_FIXED});
  ASSERT_TRUE(Answer(*done, IDOK));
  EXPECT_FALSE(Lists(Free(), L'K'));
  EXPECT_TRUE(Lists(Used(), L'K'));
  EXPECT_EQ(Free().size() + 1, freeBefore.size());
  EXPECT_TRUE(InDriveList(L'K'));

  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstUsedLtrs), L'K'));
  Click(Control(main_, ids::cmdRemove));
  auto removed = NextBox();
  ASSERT_TRUE(removed) << "no box after Remove";
  ExpectBox(*removed, L"Operation Completed!", L"Done!", Icon::None, kOkOnly);
  ASSERT_TRUE(Answer(*removed, IDOK));
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
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, L"N:\\Projects"));
  const auto freeBefore = Free();
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));

  Click(Control(main_, ids::cmdOk));
  auto refused = NextBox();
  ASSERT_TRUE(refused) << "no box after Add";
  ExpectBox(*refused, L"QOR does not work with network drives!", L"ERROR!", Icon::Critical,
            kOkOnly);
  ASSERT_TRUE(Answer(*refused, IDOK));
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_EQ(Free(), freeBefore);
}

TEST_F(VirtualDrives, AddOfADriveRootAsksFirstAndOnlyYesMapsIt) {
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, L"C:\\"));
  const auto freeBefore = Free();
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));
  const std::wstring question =
      L"It appears that you have selected a root folder (C:\\), \r\n"
      L"are you sure? Now both C and K will point there.";

  for (int answer : {IDNO, IDCANCEL}) {
    SCOPED_TRACE(answer == IDNO ? "No" : "Cancel");
    Click(Control(main_, ids::cmdOk));
    auto asked = NextBox();
    ASSERT_TRUE(asked) << "no question after Add";
    ExpectBox(*asked, question, L"Are You Sure?", Icon::None, kYesNoCancel);
    ASSERT_TRUE(Answer(*asked, answer));
    EXPECT_TRUE(Quiet());
    EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
    EXPECT_EQ(Free(), freeBefore);
  }

  Click(Control(main_, ids::cmdOk));
  auto asked = NextBox();
  ASSERT_TRUE(asked) << "no question after Add";
  ASSERT_TRUE(Answer(*asked, IDYES));
  auto done = NextBox();
  ASSERT_TRUE(done) << "no box after Yes";
  ExpectBox(*done, L"Operation Completed!", L"Done!", Icon::None, kOkOnly);
  ASSERT_TRUE(Answer(*done, IDOK));
  EXPECT_EQ(FolderEntries(L"K:\\"), FolderEntries(L"C:\\"));
  EXPECT_EQ(FolderEntries(L"K:\\Work"), kWorkFiles);
  EXPECT_TRUE(Lists(Used(), L'K'));
}

TEST_F(VirtualDrives, AddOfALetterTakenSinceTheListsWereBuiltReportsItInUse) {
  CreateFolders(kOther);
  WriteText(std::wstring(kOther) + L"\\other.txt", "other\r\n");
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));
  ASSERT_EQ(wine_mount::DefineDrive(L'K', DRIVE_FIXED, kOther), DWORD{ERROR_SUCCESS});

  Click(Control(main_, ids::cmdOk));
  auto refused = NextBox();
  ASSERT_TRUE(refused) << "no box after Add";
  ExpectBox(*refused, L"This Letter, \"K\", is in use!", L"ERROR!", Icon::Critical, kOkOnly);
  ASSERT_TRUE(Answer(*refused, IDOK));
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(FolderEntries(L"K:\\"), std::vector<std::wstring>{L"other.txt"});
}

TEST_F(VirtualDrives, RemoveOfAPermanentLetterAsksCancelKeepsItYesTakesItOutOfTheStartupFile) {
  const std::string jLine = "subst J: \"C:\\Beds\"\r\n";
  const std::string lLine = "subst L: \"C:\\Work\"\r\n";
  const std::string kLine = "subst K: \"C:\\Work\"\r\n";
  WriteText(Batch(), jLine + kLine + lLine);
  WriteDataFileWithMask(kInitialMask | Bit(L'J') | Bit(L'K') | Bit(L'L'));
  auto mapped = RunCommand(L"subst.exe K: \"C:\\Work\"", kWork);
  ASSERT_TRUE(mapped && mapped->exitCode == 0) << "subst.exe could not prepare K:";
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(Lists(Used(), L'K'));
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstUsedLtrs), L'K'));

  const std::wstring question =
      L"This drive letter, K, is permanent, do you want it removed permanently?";

  Click(Control(main_, ids::cmdRemove));
  auto asked = NextBox();
  ASSERT_TRUE(asked) << "no question after Remove";
  ExpectBox(*asked, question, L"Kestrane", Icon::None, kYesNoCancel);
  ASSERT_TRUE(Answer(*asked, IDCANCEL));
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(ReadText(Batch()), jLine + kLine + lLine);
  EXPECT_EQ(LetterMaskOf(ReadBytes(DataFilePath())),
            kInitialMask | Bit(L'J') | Bit(L'K') | Bit(L'L'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);

  Click(Control(main_, ids::cmdRemove));
  asked = NextBox();
  ASSERT_TRUE(asked) << "no question after Remove";
  ExpectBox(*asked, question, L"Kestrane", Icon::None, kYesNoCancel);
  ASSERT_TRUE(Answer(*asked, IDYES));
  auto done = NextBox();
  ASSERT_TRUE(done) << "no box after Yes";
  ExpectBox(*done, L"Operation Completed!", L"Done!", Icon::None, kOkOnly);
  ASSERT_TRUE(Answer(*done, IDOK));

  EXPECT_EQ(ReadText(Batch()), jLine + lLine);
  EXPECT_EQ(LetterMaskOf(ReadBytes(DataFilePath())), kInitialMask | Bit(L'J') | Bit(L'L'));
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
  EXPECT_TRUE(Lists(Free(), L'K'));
  EXPECT_FALSE(Exists(StartupFolder() + L"\\temp.dat"));
}

}  // namespace
