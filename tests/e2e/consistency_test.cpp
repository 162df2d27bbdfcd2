// Permanent drives that never contradict themselves: what Make Permanent and Remove leave in
// subit.bat, in the data file's bytes and in the drive table after each step, with one copy of the
// program or two, and the letter lists following drives made behind the program's back.

#include <algorithm>
#include <utility>

#include "program_test.h"
#include "wine_mount.h"

namespace {

using namespace e2e;

// Each folder holds one file of its own, so a drive's listing tells which folder it reaches.
constexpr wchar_t kData[] = L"C:\\Data";
constexpr wchar_t kProjects[] = L"C:\\My Projects";
const std::vector<std::wstring> kDataFiles = {L"data.txt"};
const std::vector<std::wstring> kProjectFiles = {L"projects.txt"};

std::string Line(wchar_t letter, const std::wstring& folder) {
  return "subst " + Narrow({letter}) + ": \"" + Narrow(folder) + "\"\r\n";
}

std::vector<std::wstring> FilesOf(wchar_t letter) {
  return FolderEntries(std::wstring{letter, L':', L'\\'});
}

BoxShown MakePermanentQuestion(wchar_t letter, const std::wstring& folder) {
  return {L"This feature will place a file in your Startup Folder!\r\n\r\nSave \"" +
              std::wstring{letter} + L":\\\" as:  \"" + folder + L"\"\r\npermanently?",
          L"Make Permanent?", Icon::None, kOkCancel};
}

BoxShown RemoveQuestion(wchar_t letter) {
  return {L"This drive letter, " + std::wstring{letter} +
              L", is permanent, do you want it removed permanently?",
          L"Kestrane", Icon::None, kYesNoCancel};
}

class ConsistentDrives : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    CreateFolders(kData);
    CreateFolders(kProjects);
    WriteText(std::wstring(kData) + L"\\data.txt", "data\r\n");
    WriteText(std::wstring(kProjects) + L"\\projects.txt", "projects\r\n");
  }
  void TearDown() override {
    SetFileAttributesW(DataFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ProgramTest::TearDown();
  }

  // The data file as installed but for the letter mask: nothing else may ever change.
  static ::testing::AssertionResult DataFileHolds(std::int32_t mask) {
    auto wanted = InitialDataFile();
    SetLetterMask(wanted, mask);
    const auto bytes = DataBytes();
    if (bytes.size() != wanted.size()) {
      return ::testing::AssertionFailure() << "the data file has " << bytes.size() << " bytes";
    }
    const auto [seen, due] = std::mismatch(bytes.begin(), bytes.end(), wanted.begin());
    if (seen == bytes.end()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "byte " << (seen - bytes.begin()) << " is " << int{*seen} << ", not " << int{*due}
           << " (mask " << LetterMaskOf(bytes) << ", not " << mask << ")";
  }

  // `folder` opened, the free `letter` picked, Make Permanent pressed and its confirmation, which
  // names the folder as the user chose it, accepted.
  void MakePermanent(wchar_t letter, const std::wstring& folder) {
    ASSERT_TRUE(OpenFolder(main_, folder));
    ASSERT_TRUE(PickFree(letter));
    Press(ids::cmdDefault);
    ASSERT_TRUE(AnswerNext(MakePermanentQuestion(letter, folder), IDOK));
  }

  // Remove of a permanent letter, the question answered with `answer`.
  void RemovePermanent(wchar_t letter, int answer) {
    ASSERT_TRUE(PickUsed(letter));
    Press(ids::cmdRemove);
    ASSERT_TRUE(AnswerNext(RemoveQuestion(letter), answer)) << "after Remove of " << char(letter);
  }

  // The box that ends a command, answered; no other follows it.
  void ExpectLast(const BoxShown& shown) {
    EXPECT_TRUE(AnswerNext(shown, IDOK));
    EXPECT_TRUE(Quiet()) << "a box followed \"" << Narrow(shown.title) << "\"";
  }
};

TEST_F(ConsistentDrives, MakePermanentOfALetterTheBatchFileBringsBackIsRefusedBeforeAnythingRuns) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'M', kProjects));
  ExpectLast(kDone);
  const std::string projectsLine = Line(L'M', kProjects);
  EXPECT_EQ(BatchText(), projectsLine);
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'M')));
  EXPECT_EQ(FilesOf(L'M'), kProjectFiles);

  // This session's mapping goes; the letter stays permanent.
  ASSERT_NO_FATAL_FAILURE(RemovePermanent(L'M', IDNO));
  ExpectLast(kDone);
  EXPECT_FALSE(Mapped(L'M'));
  EXPECT_EQ(BatchText(), projectsLine);
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'M')));

  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'M', kData));
  ExpectLast(Error(L"This Letter, \"M\", is already assigned to a Folder!"));
  EXPECT_FALSE(Mapped(L'M')) << "the runner mapped M: all the same";
  EXPECT_EQ(BatchText(), projectsLine);
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'M')));
  EXPECT_TRUE(Lists(Free(), L'M'));
}

TEST_F(ConsistentDrives, MakePermanentSaysDoneOnceAllIsInPlaceAndSessionOnlyWhenTheBitCannotBeSet) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'K', kData));
  auto done = NextBox();
  ASSERT_TRUE(done) << "no box after Make Permanent";
  EXPECT_TRUE(Looks(*done, kDone));
  // While the one box is up, the drive, its line and its bit are all there already.
  EXPECT_EQ(FilesOf(L'K'), kDataFiles);
  EXPECT_EQ(BatchText(), Line(L'K', kData));
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'K')));
  ASSERT_TRUE(Answer(*done, IDOK));
  EXPECT_TRUE(Quiet()) << "a second box followed \"Done!\"";

  ASSERT_TRUE(SetFileAttributesW(DataFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'L', kProjects));
  ExpectLast(
      {L"Error 70: Permission denied (Windows error 5: Access denied)\r\n"
       L"The drive L: was made for this session only and is not permanent.",
       L"Make Permanent", Icon::Critical, kOkOnly});
  EXPECT_EQ(FilesOf(L'L'), kProjectFiles);
  EXPECT_EQ(BatchText(), Line(L'K', kData));
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'K')));
}

TEST_F(ConsistentDrives, RemoveAsksAboutALetterTheBatchFileBringsBackThoughItsBitIsClear) {
  const std::string dataLine = Line(L'J', kData);
  WriteText(Batch(), dataLine + Line(L'K', kProjects));
  WriteDataFileWithMask(kInitialMask | Bit(L'J'));
  ASSERT_TRUE(Map(L'K', kProjects));
  ASSERT_NE(Start(), nullptr);

  ASSERT_NO_FATAL_FAILURE(RemovePermanent(L'K', IDYES));
  ExpectLast(kDone);
  EXPECT_EQ(BatchText(), dataLine);
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'J')));
  EXPECT_FALSE(Mapped(L'K'));
  EXPECT_TRUE(Lists(Free(), L'K'));
}

TEST_F(ConsistentDrives, RemoveOfADiskIsRefusedBeforeAnythingRunsAndTheFocusGoesToExit) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(PickUsed(L'C'));
  Press(ids::cmdRemove);
  ExpectLast({L"This is not a Virtual drive, it cannot be removed!", L"Nothing to do!",
              Icon::Information, kOkOnly});
  HWND exitButton = Control(main_, ids::cmdCancel);
  EXPECT_TRUE(WaitFor([&] { return FocusOf(main_) == exitButton; }))
      << "the focus is on control " << GetDlgCtrlID(FocusOf(main_));
  EXPECT_EQ(GetDriveTypeW(L"C:\\"), UINT{DRIVE_FIXED});
  EXPECT_TRUE(Lists(Used(), L'C'));
  EXPECT_EQ(BatchText(), "<none>");
  EXPECT_TRUE(DataFileHolds(kInitialMask));
}

TEST_F(ConsistentDrives, AFolderNamedInAnyLanguageIsWrittenByItsShortNameAndComesBackAtLogon) {
  const std::wstring works = L"C:\\\u0388\u03c1\u03b3\u03b1";  // "Works", in Greek
  ASSERT_TRUE(CreateFolders(works));
  WriteText(works + L"\\works.txt", "works\r\n");
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameW(works.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(works, shortName) << "the volume gives the folder no short name";
  ASSERT_NE(Start(), nullptr);

  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'K', works));
  ExpectLast(kDone);
  EXPECT_EQ(BatchText(), Line(L'K', shortName));
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'K')));
  EXPECT_EQ(FilesOf(L'K'), std::vector<std::wstring>{L"works.txt"});

  // The next logon, staged: the mapping gone, the batch file run.
  auto removed = RunCommand(L"subst.exe K: /D", kBeds);
  ASSERT_TRUE(removed && removed->exitCode == 0) << "subst.exe could not remove K:";
  ASSERT_FALSE(Mapped(L'K'));
  auto logon = RunCommand(L"cmd /c \"" + Batch() + L"\"", kBeds);
  ASSERT_TRUE(logon) << "the batch file did not run to its end";
  EXPECT_EQ(logon->exitCode, 0u) << logon->output;
  EXPECT_TRUE(Exists(L"K:\\works.txt"));
}

// Two copies of the program in one session; the helpers drive one at a time.
class TwoCopies : public ConsistentDrives {
 protected:
  // Both copies started; the first is the one driven.
  void StartBoth() {
    ASSERT_NE(Start(), nullptr);
    SwitchCopy();
    ASSERT_NE(Start(), nullptr);
    SwitchCopy();
  }
  void SwitchCopy() {
    std::optional<Program> driven;
    if (program_) driven.emplace(std::move(*program_));
    program_.reset();
    if (other_) program_.emplace(std::move(*other_));
    other_.reset();
    if (driven) other_.emplace(std::move(*driven));
    std::swap(main_, otherMain_);
  }
  void TearDown() override {
    other_.reset();
    ConsistentDrives::TearDown();
  }

  std::optional<Program> other_;
  HWND otherMain_ = nullptr;
};

TEST_F(TwoCopies, RemoveInOneCopyKeepsTheLetterTheOtherCopyMadePermanentAndAsksAboutIt) {
  ASSERT_NO_FATAL_FAILURE(StartBoth());
  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'G', kData));
  ExpectLast(kDone);
  SwitchCopy();
  ASSERT_NO_FATAL_FAILURE(MakePermanent(L'H', kProjects));
  ExpectLast(kDone);
  SwitchCopy();  // back to the first copy, which read the mask before H was permanent
  const std::string projectsLine = Line(L'H', kProjects);
  EXPECT_EQ(BatchText(), Line(L'G', kData) + projectsLine);
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'G') | Bit(L'H')));

  ASSERT_NO_FATAL_FAILURE(RemovePermanent(L'G', IDYES));
  ExpectLast(kDone);
  EXPECT_FALSE(Mapped(L'G'));
  EXPECT_EQ(BatchText(), projectsLine);
  EXPECT_TRUE(DataFileHolds(kInitialMask | Bit(L'H')));
  EXPECT_EQ(FilesOf(L'H'), kProjectFiles);

  ASSERT_TRUE(WaitFor([&] { return Lists(Used(), L'H'); })) << "H: never reached the used list";
  ASSERT_NO_FATAL_FAILURE(RemovePermanent(L'H', IDYES));
  ExpectLast(kDone);
  EXPECT_FALSE(Mapped(L'H'));
  EXPECT_FALSE(Exists(Batch())) << BatchText();
  EXPECT_TRUE(DataFileHolds(kInitialMask));
}

// Yes pressed in both copies within a millisecond or two, a few times over: each takes its own
// letter out, and no letter is left with a line but no bit, or a bit but no line.
TEST_F(TwoCopies, RemovingPermanentLettersAtTheSameMomentKeepsLinesAndBitsTogether) {
  ASSERT_NO_FATAL_FAILURE(StartBoth());
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    WriteText(Batch(), Line(L'G', kData) + Line(L'H', kProjects));
    WriteDataFileWithMask(kInitialMask | Bit(L'G') | Bit(L'H'));
    ASSERT_TRUE(Map(L'G', kData) && Map(L'H', kProjects));
    std::optional<Box> asked[2];
    for (int copy = 0; copy < 2; ++copy) {
      const wchar_t letter = copy == 0 ? L'G' : L'H';
      ASSERT_TRUE(WaitFor([&] { return Lists(Used(), letter); }));
      ASSERT_TRUE(PickUsed(letter));
      Press(ids::cmdRemove);
      asked[copy] = NextBox();
      ASSERT_TRUE(asked[copy] && Looks(*asked[copy], RemoveQuestion(letter)));
      SwitchCopy();
    }
    Click(Control(asked[0]->window, IDYES));
    Click(Control(asked[1]->window, IDYES));
    ASSERT_TRUE(
        WaitFor([&] { return !IsWindow(asked[0]->window) && !IsWindow(asked[1]->window); }));
    for (int copy = 0; copy < 2; ++copy) {
      ExpectLast(kDone);
      SwitchCopy();
    }
    EXPECT_FALSE(Exists(Batch())) << BatchText();
    EXPECT_TRUE(DataFileHolds(kInitialMask));
  }
}

TEST_F(TwoCopies, ListsFollowDrivesMadeAndRemovedElsewhere) {
  ASSERT_NO_FATAL_FAILURE(StartBoth());
  SwitchCopy();
  ASSERT_TRUE(OpenFolder(main_, kData));
  ASSERT_TRUE(PickFree(L'K'));
  Press(ids::cmdOk);
  ExpectLast(kDone);
  SwitchCopy();  // to the first copy, which stays in the background
  auto lists = [&](wchar_t letter, bool used, Duration limit = kStepLimit) {
    return WaitFor(
        [&] {
          return Lists(Used(), letter) == used && Lists(Free(), letter) != used &&
                 InDriveList(letter) == used;
        },
        limit);
  };
  EXPECT_TRUE(lists(L'K', true)) << "after the other copy's Add";

  auto removed = RunCommand(L"subst.exe K: /D", kBeds);
  ASSERT_TRUE(removed && removed->exitCode == 0) << "subst.exe could not remove K:";
  EXPECT_TRUE(lists(L'K', false)) << "after a command prompt's subst /D";

  // Defined behind the program's back, unannounced: seen once the window is active again.
  ASSERT_EQ(wine_mount::DefineDrive(L'L', DRIVE_FIXED, kProjects), DWORD{ERROR_SUCCESS});
  // Were the definition announced after all, the activation below would show nothing.
  EXPECT_FALSE(lists(L'L', true, 2s)) << "the lists followed before the window was activated";
  ASSERT_TRUE(SetForegroundWindow(main_));
  EXPECT_TRUE(lists(L'L', true)) << "after the window became active again";
}

}  // namespace
