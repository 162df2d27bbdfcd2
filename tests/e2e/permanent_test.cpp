// Make Permanent, View and Restore through the window: the boxes the user answers, and what is
// left in the startup batch file, the data file's letter mask and the drive table.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "expectations.h"
#include "wine_mount.h"

namespace {

using namespace e2e;
namespace ids = kestrane::ids;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kBeds[] = L"C:\\Beds";
const std::string kWorkLine = "subst K: \"C:\\Work\"\r\n";
constexpr Duration kQuiet = 2s;  // how long "no further box" is watched for
constexpr wchar_t kMapped[] = L"KLMPQ";

bool Lists(const std::vector<std::wstring>& list, wchar_t letter) {
  return std::find(list.begin(), list.end(), std::wstring{letter, L':'}) != list.end();
}

bool Map(wchar_t letter, const std::wstring& folder) {
  auto made = RunCommand(std::wstring(L"subst.exe ") + letter + L": \"" + folder + L"\"", kBeds);
  return made && made->exitCode == 0;
}

// A bed with the data file as installed, the folder C:\Work holding two files, and no startup
// batch file.
class PermanentDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteInitialDataFile();
    CreateFolders(kBeds);
    MakeWorkFolder();
    CreateFolders(StartupFolder());
    DeleteFileW(Batch().c_str());
  }
  void TearDown() override {
    program_.reset();
    for (const wchar_t* letter = kMapped; *letter; ++letter) wine_mount::RemoveDrive(*letter);
    DeleteFileW(Batch().c_str());
  }

  static std::wstring Batch() { return StartupFolder() + L"\\subit.bat"; }
  // The mask in the data file; 0 while the file cannot be read whole (being written).
  static std::int32_t StoredMask() {
    try {
      return LetterMaskOf(ReadBytes(DataFilePath()));
    } catch (const std::exception&) {
      return 0;
    }
  }

  HWND Start() {
    program_.emplace(Program::Start());
    main_ = program_->WaitForWindow(ids::kMainWindowClass, kMainTitle);
    return main_;
  }
  std::vector<std::wstring> Free() const { return ListItems(Control(main_, ids::lstAvail)); }
  std::vector<std::wstring> Used() const { return ListItems(Control(main_, ids::lstUsedLtrs)); }
  std::optional<Box> NextBox() const { return WaitForBox(*program_); }
  // True when the program is still running and shows no box for a while.
  bool Quiet() const { return !WaitForBox(*program_, kQuiet) && program_->Running(); }

  // Presses Make Permanent and accepts its confirmation, which must name K: and C:\Work.
  void PressMakePermanentAndConfirm() {
    Click(Control(main_, ids::cmdDefault));
    auto confirm = NextBox();
    ASSERT_TRUE(confirm) << "no confirmation after Make Permanent";
    ExpectBox(*confirm,
              L"This feature will place a file in your Startup Folder!\r\n\r\n"
              L"Save \"K:\\\" as:  \"C:\\Work\"\r\npermanently?",
              L"Make Permanent?", Icon::None, kOkCancel);
    ASSERT_TRUE(Answer(*confirm, IDOK));
  }

  void ExpectOneDoneBox() {
    auto done = NextBox();
    ASSERT_TRUE(done) << "no \"Done!\" box";
    ExpectBox(*done, L"Operation Completed!", L"Done!", Icon::None, kOkOnly);
    ASSERT_TRUE(Answer(*done, IDOK));
    EXPECT_TRUE(Quiet()) << "a second box followed \"Done!\"";
  }

  // View's notice accepted; the result box that follows.
  std::optional<Box> View() {
    ChooseMenu(main_, ids::mnuView);
    auto notice = NextBox();
    if (!notice) return std::nullopt;
    ExpectBox(*notice, L"This will list all of your Virtual Drives", L"View Virtual Drives",
              Icon::Information, kOkCancel);
    if (!Answer(*notice, IDOK)) return std::nullopt;
    return NextBox();
  }

  std::optional<Program> program_;
  HWND main_ = nullptr;
};

TEST_F(PermanentDrives, MakePermanentMapsANewLetterOnceAndRefusesItTheSecondTime) {
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));

  ASSERT_NO_FATAL_FAILURE(PressMakePermanentAndConfirm());
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());
  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
  EXPECT_TRUE(Lists(Used(), L'K'));
  EXPECT_FALSE(Lists(Free(), L'K'));

  // The letter now stands in the used list.
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstUsedLtrs), L'K'));
  ASSERT_NO_FATAL_FAILURE(PressMakePermanentAndConfirm());
  auto refused = NextBox();
  ASSERT_TRUE(refused) << "no box after the second confirmation";
  ExpectBox(*refused, L"This Letter, \"K\", is already assigned to a Folder!", L"ERROR!",
            Icon::Critical, kOkOnly);
  ASSERT_TRUE(Answer(*refused, IDOK));
  EXPECT_TRUE(Quiet());
  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

TEST_F(PermanentDrives, MakePermanentOfALetterMappedWithAddSaysDoneOnceAtTheEnd) {
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));
  Click(Control(main_, ids::cmdOk));
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());
  ASSERT_TRUE(Lists(Used(), L'K'));
  ASSERT_FALSE(Exists(Batch()));

  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstUsedLtrs), L'K'));
  ASSERT_NO_FATAL_FAILURE(PressMakePermanentAndConfirm());
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());

  EXPECT_EQ(ReadText(Batch()), kWorkLine);
  EXPECT_EQ(StoredMask(), kInitialMask | Bit(L'K'));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

TEST_F(PermanentDrives, StartupFileMakesAPermanentLetterAgainAtTheNextLogon) {
  ASSERT_NE(Start(), nullptr) << "no main window";
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));
  ASSERT_NO_FATAL_FAILURE(PressMakePermanentAndConfirm());
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());

  // Removed for this session only: the letter stays permanent.
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstUsedLtrs), L'K'));
  Click(Control(main_, ids::cmdRemove));
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
  ASSERT_NE(Start(), nullptr) << "no main window";

  auto shown = View();
  ASSERT_TRUE(shown) << "no listing after View";
  ExpectBox(*shown, L"K:\\: => C:\\Work\r\nL:\\: => C:\\Beds\r\n", L"Assigned Virtual Drives",
            Icon::None, kOkOnly);
  ASSERT_TRUE(Answer(*shown, IDOK));
  EXPECT_TRUE(Quiet());
  EXPECT_FALSE(Exists(DataFolder() + L"temp"));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);
}

TEST_F(PermanentDrives, ViewWithNoMappingSaysThereIsNone) {
  ASSERT_NE(Start(), nullptr) << "no main window";

  auto shown = View();
  ASSERT_TRUE(shown) << "no answer after View";
  ExpectBox(*shown, L"There are no assigned Virtual Drives", L"Assigned Virtual Drives",
            Icon::Exclamation, kOkOnly);
  ASSERT_TRUE(Answer(*shown, IDOK));
  EXPECT_FALSE(Exists(DataFolder() + L"temp"));
}

TEST_F(PermanentDrives, RestoreRemovesEveryMappingTheStartupFileAndThePermanentLetters) {
  for (const wchar_t* letter = kMapped; *letter; ++letter) {
    ASSERT_TRUE(Map(*letter, *letter == L'K' ? kWork : kBeds)) << "cannot prepare a mapping";
  }
  WriteText(Batch(), kWorkLine + "subst P: \"C:\\Beds\"\r\n");
  WriteDataFileWithMask(kInitialMask | Bit(L'K') | Bit(L'P'));
  ASSERT_NE(Start(), nullptr) << "no main window";
  for (const wchar_t* letter = kMapped; *letter; ++letter) ASSERT_TRUE(Lists(Used(), *letter));

  ChooseMenu(main_, ids::mnuRepair);
  auto confirm = NextBox();
  ASSERT_TRUE(confirm) << "no confirmation after Restore";
  ExpectBox(*confirm,
            L"This will restore QOR to its initial state,\r\n"
            L"i.e., remove all vitual drives, including\r\n"
            L"permanent virtual drives for Pro users!",
            L"Restore QOR", Icon::Exclamation, kOkCancel);
  const auto accepted = Clock::now();
  ASSERT_TRUE(Answer(*confirm, IDOK));
  auto noDriveLeft = [] {
    for (const wchar_t* letter = kMapped; *letter; ++letter) {
      const wchar_t root[] = {*letter, L':', L'\\', 0};
      if (GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR) return false;
    }
    return true;
  };
  // The mask is reset last.
  const bool restored = WaitFor(
      [&] { return noDriveLeft() && !Exists(Batch()) && StoredMask() == kInitialMask; }, 60s);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - accepted);
  std::printf("[   TIME   ] Restore with %zu mappings: %lld ms\n", std::wcslen(kMapped),
              static_cast<long long>(elapsed.count()));
  RecordProperty("restore_ms", static_cast<int>(elapsed.count()));
  ASSERT_TRUE(restored) << "drives, subit.bat or the mask left after Restore";
  EXPECT_TRUE(Quiet()) << "Restore ends without a box";
  for (const wchar_t* letter = kMapped; *letter; ++letter) {
    EXPECT_TRUE(Lists(Free(), *letter)) << "letter " << char(*letter) << " not free again";
  }
  EXPECT_FALSE(Exists(DataFolder() + L"temp"));

  // K was permanent before: mapped again, it is now removed without the permanent question.
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstAvail), L'K'));
  Click(Control(main_, ids::cmdOk));
  ASSERT_NO_FATAL_FAILURE(ExpectOneDoneBox());
  ASSERT_TRUE(SelectLetter(Control(main_, ids::lstUsedLtrs), L'K'));
  Click(Control(main_, ids::cmdRemove));
  auto removed = NextBox();
  ASSERT_TRUE(removed) << "no box after Remove";
  ExpectBox(*removed, L"Operation Completed!", L"Done!", Icon::None, kOkOnly);
  ASSERT_TRUE(Answer(*removed, IDOK));
  EXPECT_EQ(GetDriveTypeW(L"K:\\"), UINT{DRIVE_NO_ROOT_DIR});
}

}  // namespace
