#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/fakes.h"
#include "platform/ascii_text.h"

namespace kestrane::fakes {
namespace {

const std::string kNotFoundTitle = "Path not found!";

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\x", true);
    m.files.AddFolder("C:\\Windows\\x", true);
    ASSERT_TRUE(m.Load());
    m.dialogs.boxes.clear();
    m.faults.Clear();
  }
  std::string Shown() const { return m.controls.Text(ControlId::txtPath); }
  // The folder the folder list shows open, read from its rows as drawn.
  std::string ListedFolder() const {
    std::string path;
    for (const auto& row : m.controls.folderRows) {
      if (!row.open) break;
      if (!path.empty() && path.back() != '\\') path += '\\';
      path += row.name;
    }
    return path;
  }
  // The drive the drive list shows as current, upper case.
  char ListedDrive() const {
    if (m.controls.currentDriveItem < 0) return 0;
    const std::string& item = m.controls.driveItems.at(m.controls.currentDriveItem);
    return AsciiUpper(item[0]);
  }
  void GoTo(const std::string& folder) { m.Choose(folder); }
  // What Add runs for letter K: the chosen folder whole, found with the hidden-folder mode it
  // was typed in. Empty when nothing ran.
  std::string Mapped() {
    m.Pick(ControlId::lstAvail, "K:");
    m.dialogs.answers = {Answer::Yes};  // a drive root is asked about
    const std::size_t runs = m.processes.runs.size();
    m.form.cmdOk_Click();
    m.dialogs.answers.clear();
    return m.processes.runs.size() == runs ? "" : m.processes.runs.back().commandLine;
  }
  static std::string Line(const std::string& folder) {
    return kSubst + " K: " + CommandArgument(folder);
  }
  // The box Make Permanent opens first: it names the letter picked last, or asks for one.
  std::string MakePermanentBox() {
    m.dialogs.answers = {Answer::Cancel};
    m.form.cmdDefault_Click();
    return m.dialogs.boxes.empty() ? "" : m.dialogs.boxes.back().body;
  }
  void AltRightClick() { m.form.dirList_MouseDown(kRightButton, kAltMask); }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> out;
    for (const auto& p : m.dialogs.prompts) {
      EXPECT_EQ(p.title, "Enter Folder Name");
      out.push_back(p.prompt);
    }
    return out;
  }
  static std::string NotFoundBody(const std::string& name) {
    return "Sorry we couldn't find that sub-folder.\r\n\"" + name + "\"";
  }
  Machine m;
};

struct LengthCase {
  std::size_t length;
  std::string shown;  // "" : the whole path
};

class PathBox : public Selection, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(PathBox, ShowsUpTo66CharactersWholeAndMapsTheFolderWhole) {
  const std::string folder = "C:\\" + std::string(GetParam().length - 4, 'a') + "z";
  m.files.AddFolder(folder);
  GoTo(folder);
  const std::string expected =
      GetParam().shown.empty() ? folder : "....." + folder.substr(folder.size() - 63);
  EXPECT_EQ(Shown(), expected);
  EXPECT_LE(Shown().size(), 68u);
  EXPECT_EQ(Mapped(), Line(folder));
}

INSTANTIATE_TEST_SUITE_P(Lengths, PathBox,
                         ::testing::Values(LengthCase{4, ""}, LengthCase{65, ""},
                                           LengthCase{66, ""}, LengthCase{67, "short"},
                                           LengthCase{68, "short"}, LengthCase{200, "short"}),
                         [](const auto& info) { return std::to_string(info.param.length); });

struct ClickCase {
  const char* name;
  int button;
  int shift;
  Answer answer;
  bool asked;
  bool entered;
};

class HiddenFolderClick : public Selection, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(HiddenFolderClick, AsksUnlessAltAloneAndEntersOnlyOnYes) {
  const ClickCase& c = GetParam();
  m.dialogs.answers = {c.answer};
  m.dialogs.inputs = {"x"};
  m.form.dirList_MouseDown(c.button, c.shift);
  if (c.asked) {
    ASSERT_GE(m.dialogs.boxes.size(), 1u);
    EXPECT_EQ(m.dialogs.boxes[0].body, "Do you want to add a hidden folder?");
    EXPECT_EQ(m.dialogs.boxes[0].title, "Hidden Folder Name");
    EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Question);
  } else {
    EXPECT_TRUE(m.dialogs.boxes.empty());
  }
  if (c.entered) {
    EXPECT_EQ(Prompts(), (std::vector<std::string>{"C:\\"}));
    EXPECT_EQ(Shown(), "C:\\x");
  } else {
    EXPECT_TRUE(m.dialogs.prompts.empty());
    EXPECT_EQ(Shown(), "C:\\");
  }
  EXPECT_EQ(Mapped(), Line(c.entered ? "C:\\x" : "C:\\"));  // C:\x is a hidden folder
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, HiddenFolderClick,
    ::testing::Values(
        ClickCase{"RightYes", kRightButton, 0, Answer::Yes, true, true},
        ClickCase{"RightNo", kRightButton, 0, Answer::No, true, false},
        ClickCase{"RightCancel", kRightButton, 0, Answer::Cancel, true, false},
        ClickCase{"AltRight", kRightButton, kAltMask, Answer::No, false, true},
        ClickCase{"ShiftAltRight", kRightButton, kAltMask | kShiftMask, Answer::No, true, false},
        ClickCase{"CtrlAltRightYes", kRightButton, kAltMask | kCtrlMask, Answer::Yes, true, true},
        ClickCase{"Left", kLeftButton, 0, Answer::Yes, false, false},
        ClickCase{"AltLeft", kLeftButton, kAltMask, Answer::Yes, false, false},
        ClickCase{"Middle", kMiddleButton, 0, Answer::Yes, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct BaseCase {
  const char* name;
  std::string from;
  std::string prompt;
  std::string path;
};

class HiddenFolderBase : public Selection, public ::testing::WithParamInterface<BaseCase> {};

TEST_P(HiddenFolderBase, PromptsWithTheBaseAndShowsTheTypedFolder) {
  GoTo(GetParam().from);
  m.dialogs.inputs = {"x"};
  AltRightClick();
  EXPECT_EQ(Prompts(), (std::vector<std::string>{GetParam().prompt}));
  EXPECT_EQ(Shown(), GetParam().path);
  EXPECT_EQ(ListedFolder(), GetParam().path);
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_EQ(Mapped(), Line(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(Bases, HiddenFolderBase,
                         ::testing::Values(BaseCase{"DriveRoot", "C:\\", "C:\\", "C:\\x"},
                                           BaseCase{"Folder", "C:\\Windows", "C:\\Windows\\",
                                                    "C:\\Windows\\x"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Selection, MissingFolderIsReportedAndAskedForAgainWithTheSameBase) {
  GoTo("C:\\Windows");
  m.dialogs.inputs = {"nothere", "x"};
  AltRightClick();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, NotFoundBody("nothere"));
  EXPECT_EQ(m.dialogs.boxes[0].title, kNotFoundTitle);
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Information);
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"C:\\Windows\\", "C:\\Windows\\"}));
  EXPECT_EQ(Shown(), "C:\\Windows\\x");
}

TEST_F(Selection, NamesTheFileSystemCannotHoldAreNotFoundEither) {
  m.dialogs.inputs = {"a\"b", "c:d", "e*", "x"};
  AltRightClick();
  EXPECT_EQ(m.dialogs.boxes.size(), 3u);
  EXPECT_EQ(m.dialogs.boxes[0].body, NotFoundBody("a\"b"));
  EXPECT_EQ(Shown(), "C:\\x");
}

TEST_F(Selection, DotSegmentsNameTheFolderTheListReallyShows) {
  GoTo("C:\\Windows");
  m.dialogs.inputs = {"..\\Work\\."};
  AltRightClick();
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_EQ(Shown(), "C:\\Work");
  EXPECT_EQ(ListedFolder(), "C:\\Work");
  EXPECT_EQ(Mapped(), Line("C:\\Work"));
}

TEST_F(Selection, RepeatedWrongNamesLoopUntilAnEmptyNameGivesTheBase) {
  GoTo("C:\\Windows");
  for (int i = 0; i < 500; ++i) m.dialogs.inputs.push_back("no" + std::to_string(i));
  AltRightClick();  // the input after the queue is empty: Cancel
  EXPECT_EQ(m.dialogs.boxes.size(), 500u);
  EXPECT_EQ(m.dialogs.prompts.size(), 501u);
  EXPECT_EQ(Shown(), "C:\\Windows\\");
  EXPECT_EQ(ListedFolder(), "C:\\Windows");
  // From there the next entry's base is the drive alone.
  m.dialogs.inputs = {"x"};
  AltRightClick();
  EXPECT_EQ(m.dialogs.prompts.back().prompt, "C:\\");
  EXPECT_EQ(Shown(), "C:\\x");
}

TEST_F(Selection, BaseThatVanishedEndsHiddenModeInsteadOfAskingForEver) {
  GoTo("C:\\Windows");
  m.files.folders.erase(FakeFiles::Key("C:\\Windows\\x"));
  m.files.folders.erase(FakeFiles::Key("C:\\Windows"));
  AltRightClick();  // Cancel: the base itself
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, NotFoundBody(""));
  EXPECT_EQ(m.dialogs.prompts.size(), 1u);
  GoTo("C:\\Work");  // in hidden mode the list would go back to the vanished base
  EXPECT_EQ(Shown(), "C:\\Work");
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
}

struct ReturnCase {
  const char* name;
  std::function<void(Machine&)> act;
  std::string folder;  // the folder chosen instead
};

class HiddenMode : public Selection, public ::testing::WithParamInterface<ReturnCase> {};

TEST_P(HiddenMode, OutlastsCommandsAndEndsWhenAnotherFolderIsChosen) {
  m.drives.Add('D', DriveType::Fixed, 4);
  m.files.AddFolder("D:\\");
  m.form.CheckDriveSet();
  GoTo("C:\\Windows");
  m.dialogs.inputs = {"x"};
  AltRightClick();
  EXPECT_EQ(Mapped(), Line("C:\\Windows\\x"));
  EXPECT_EQ(Mapped(), Line("C:\\Windows\\x"));
  m.dialogs.boxes.clear();
  GetParam().act(m);
  EXPECT_EQ(ListedFolder(), GetParam().folder);
  EXPECT_EQ(Shown(), GetParam().folder);
  EXPECT_EQ(ListedDrive(), GetParam().folder[0]);
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_EQ(Mapped(), Line(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Events, HiddenMode,
    ::testing::Values(ReturnCase{"DoubleClickOnTheRoot",
                                 [](Machine& mm) { mm.form.FolderListOpen(0); }, "C:\\"},
                      ReturnCase{"EnterOnTheRoot",
                                 [](Machine& mm) {
                                   mm.controls.folderHighlight = 0;
                                   mm.form.dirList_KeyPress(13);
                                 },
                                 "C:\\"},
                      ReturnCase{"OtherDrive",
                                 [](Machine& mm) {
                                   mm.controls.currentDriveItem =
                                       1;  // the drive list shows the pick
                                   mm.form.DriveListPick(1);
                                 },
                                 "D:\\"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder, or a drive, that does not answer (its server is out of reach) is not entered, whichever
// way it was chosen: one box names it, and the lists and the path box stay as they were.
struct SilentCase {
  const char* name;
  std::string folder;  // the folder that gives no answer
  std::function<void(Machine&)> act;
};

class SilentFolder : public Selection, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentFolder, IsNotEnteredAndOneBoxNamesIt) {
  m.drives.Add('D', DriveType::Fixed, 4);
  m.files.AddFolder("D:\\");
  m.form.CheckDriveSet();
  m.files.unanswering.insert(GetParam().folder);
  const std::string listed = ListedFolder();
  const std::string shown = Shown();
  const char drive = ListedDrive();
  m.dialogs.inputs = {"x"};
  GetParam().act(m);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            GetParam().folder +
                " does not answer.\r\n\r\nThe lists stay where they were. Try again when it "
                "answers.");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Kestrane");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Exclamation);
  EXPECT_EQ(ListedFolder(), listed);
  EXPECT_EQ(Shown(), shown);
  EXPECT_EQ(ListedDrive(), drive);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SilentFolder,
    ::testing::Values(
        SilentCase{"DriveList", "D:\\",
                   [](Machine& mm) {
                     mm.controls.currentDriveItem = 1;
                     mm.form.DriveListPick(1);
                   }},
        SilentCase{"FolderList", "C:\\Work",
                   [](Machine& mm) {
                     const auto& rows = mm.controls.folderRows;
                     for (std::size_t i = 0; i < rows.size(); ++i) {
                       if (rows[i].name == "Work") {
                         mm.form.FolderListOpen(static_cast<int>(i));
                       }
                     }
                   }},
        SilentCase{
            "CommandLine", "C:\\Work",
            [](Machine& mm) { mm.form.FolderArrived({"C:\\Work"}, ArrivalWay::CommandLine); }},
        SilentCase{"Drop", "C:\\Work",
                   [](Machine& mm) { mm.form.FolderArrived({"C:\\Work"}, ArrivalWay::Drop); }},
        SilentCase{"HiddenEntry", "C:\\x",
                   [](Machine& mm) { mm.form.dirList_MouseDown(kRightButton, kAltMask); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Selection, OtherFailureInTheFolderChangeNamesTheFolderAndKeepsTheMode) {
  GoTo("C:\\Windows");
  m.dialogs.inputs = {"x"};
  AltRightClick();
  m.faults.Clear();
  m.faults.Arm(Call::FilesSubFolders, 1, err::kDiskNotReady);  // opening the root
  m.form.FolderListOpen(0);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "The folder \"C:\\\" cannot be opened:\r\nError 71: Disk not ready.");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Kestrane");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_EQ(Shown(), "C:\\Windows\\x");
  EXPECT_EQ(Mapped(), Line("C:\\Windows\\x"));
}

TEST_F(Selection, EnterOpensTheHighlightedFolderAndOtherKeysDoNothing) {
  const auto& rows = m.controls.folderRows;
  const auto work =
      std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.name == "Work"; });
  ASSERT_NE(work, rows.end());
  m.controls.folderHighlight = static_cast<int>(work - rows.begin());
  m.form.dirList_KeyPress('a');
  EXPECT_EQ(Shown(), "C:\\");
  m.form.dirList_KeyPress(13);
  EXPECT_EQ(Shown(), "C:\\Work");
}

// Double click and Enter alike: the folder was removed after the list was drawn.
TEST_F(Selection, OpeningAFolderThatWentAwayIsReportedAndTheProgramGoesOn) {
  const auto& rows = m.controls.folderRows;
  const auto work =
      std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.name == "Work"; });
  ASSERT_NE(work, rows.end());
  const int row = static_cast<int>(work - rows.begin());
  m.files.folders.erase(FakeFiles::Key("C:\\Work"));
  m.form.FolderListOpen(row);
  m.controls.folderHighlight = row;
  m.form.dirList_KeyPress(13);
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  for (const Box& b : m.dialogs.boxes) {
    EXPECT_EQ(b.body, "The folder \"C:\\Work\" cannot be opened:\r\nError 76: Path not found.");
    EXPECT_EQ(b.title, "Kestrane");
  }
  EXPECT_FALSE(m.controls.ended);
  EXPECT_EQ(Shown(), "C:\\");
  EXPECT_EQ(m.controls.folderHighlight, 0);  // back on the folder the path box shows
}

TEST_F(Selection, DriveThatIsNotReadyPutsTheDriveListBackSilently) {
  m.drives.Add('A', DriveType::Removable, 1, false);
  m.form.CheckDriveSet();
  ASSERT_EQ(m.controls.driveItems.front(), "a:");
  m.form.DriveListPick(0);
  EXPECT_EQ(ListedDrive(), 'C');
  EXPECT_EQ(m.controls.driveItems.at(static_cast<std::size_t>(m.controls.currentDriveItem)), "c:");
  EXPECT_EQ(Shown(), "C:\\");
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST_F(Selection, EachListClickPicksTheLetterAndLeavesTheOtherListsHighlight) {
  m.drives.Add('Z', DriveType::Remote, 3);
  m.form.CheckDriveSet();
  m.Pick(ControlId::lstAvail, "E:");
  EXPECT_NE(MakePermanentBox().find("\"E:\\\""), std::string::npos);
  m.Pick(ControlId::lstUsedLtrs, "z:");
  EXPECT_EQ(MakePermanentBox(), "QOR does not work with network drives!");
  EXPECT_EQ(m.controls.ListIndex(ControlId::lstAvail), 3);
  m.form.lstAvail_Click(-1);
  EXPECT_EQ(MakePermanentBox(), "You need to select a Virtual Drive Letter!");
}

TEST_F(Selection, ExitEndsAtOnceWithoutAQuestion) {
  m.form.cmdCancel_Click();
  EXPECT_TRUE(m.controls.ended);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

}  // namespace
}  // namespace kestrane::fakes
