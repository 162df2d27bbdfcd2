#include "app/folder_argument.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace kestrane::fakes {
namespace {

using Items = std::vector<std::string>;
constexpr auto kLine = ArrivalWay::CommandLine;
constexpr auto kDrop = ArrivalWay::Drop;

struct ArrivalCase {
  const char* name;
  Items items;
  ArrivalWay way;
  ArrivalKind kind;
  std::string path;
  bool hidden = false;
  int listingFailure = 0;  // the first listing of a folder fails with this number
};

void PrintTo(const ArrivalCase& c, std::ostream* out) { *out << c.name; }

// The program runs from C:\Program Files\Kestrane, beside a hidden folder, a file in C:\Work and
// a network drive N:.
class FolderArgument : public ::testing::TestWithParam<ArrivalCase> {
 protected:
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\Some Folder");
    m.files.AddFolder("C:\\Secret", true);
    m.files.AddText("C:\\Work\\notes.txt", "notes");
    m.files.AddText("C:\\boot.ini", "");
    m.drives.Add('N', DriveType::Remote);
    m.files.AddFolder("N:\\Share");
  }
  Machine m;
};

TEST_P(FolderArgument, ComesToTheFolderAWalkWouldReachOrSaysWhyNot) {
  const ArrivalCase& c = GetParam();
  if (c.listingFailure != 0) m.faults.Arm(Call::FilesSubFolders, 1, c.listingFailure);
  const FolderArrival got = ReadArrival(c.items, c.way, m.files, m.drives);
  EXPECT_EQ(got.kind, c.kind);
  EXPECT_EQ(got.path, c.path);
  EXPECT_EQ(got.hidden, c.hidden);
  EXPECT_EQ(got.why.empty(), c.listingFailure == 0) << got.why;
}

const ArrivalCase kCases[] = {
    {"Nothing", {}, kLine, ArrivalKind::None, ""},
    {"Plain", {"C:\\Some Folder"}, kLine, ArrivalKind::Folder, "C:\\Some Folder"},
    {"TrailingBackslash", {"C:\\Some Folder\\"}, kLine, ArrivalKind::Folder, "C:\\Some Folder"},
    // "C:\Some Folder\" as Windows splits it.
    {"EscapedClosingQuote", {"C:\\Some Folder\""}, kLine, ArrivalKind::Folder, "C:\\Some Folder"},
    {"QuotesLeftOn", {"\"C:\\Some Folder\""}, kLine, ArrivalKind::Folder, "C:\\Some Folder"},
    {"DriveAlone", {"c:"}, kLine, ArrivalKind::Folder, "C:\\"},
    {"DriveRootQuoted", {"C:\""}, kLine, ArrivalKind::Folder, "C:\\"},
    {"ForwardSlashes", {"C:/Work/"}, kLine, ArrivalKind::Folder, "C:\\Work"},
    {"Relative", {"..\\..\\Some Folder"}, kLine, ArrivalKind::Folder, "C:\\Some Folder"},
    {"FromTheRoot", {"\\Work"}, kLine, ArrivalKind::Folder, "C:\\Work"},
    {"DriveRelative", {"C:..\\..\\Work"}, kLine, ArrivalKind::Folder, "C:\\Work"},
    {"FileGivesItsFolder", {"C:\\Work\\notes.txt"}, kLine, ArrivalKind::Folder, "C:\\Work"},
    {"FileInARoot", {"C:\\boot.ini"}, kLine, ArrivalKind::Folder, "C:\\"},
    {"Hidden", {"C:\\Secret"}, kLine, ArrivalKind::Folder, "C:\\Secret", true},
    {"Missing", {"C:\\Nowhere"}, kLine, ArrivalKind::NotFound, "C:\\Nowhere"},
    {"MissingRelative",
     {"Nowhere"},
     kLine,
     ArrivalKind::NotFound,
     "C:\\Program Files\\Kestrane\\Nowhere"},
    {"NoSuchDrive", {"Q:\\Work"}, kLine, ArrivalKind::NotFound, "Q:\\Work"},
    {"Blank", {""}, kLine, ArrivalKind::NotFound, ""},
    {"QuoteInside", {"C:\\Wo\"rk"}, kLine, ArrivalKind::NotFound, "C:\\Wo\"rk"},
    {"ControlCharacter", {"C:\\Work\r\n"}, kLine, ArrivalKind::NotFound, "C:\\Work\r\n"},
    {"Share", {"\\\\server\\share"}, kLine, ArrivalKind::Network, "\\\\server\\share"},
    {"NetworkDrive", {"n:\\Share"}, kLine, ArrivalKind::Network, "N:\\Share"},
    {"Unreadable", {"C:\\Work"}, kLine, ArrivalKind::Unreadable, "C:\\Work", false, 70},
    {"TwoArguments",
     {"C:\\Work", "C:\\Windows"},
     kLine,
     ArrivalKind::TooMany,
     "\"C:\\Work\" \"C:\\Windows\""},
    {"DropFirstFolder",
     {"C:\\Work\\notes.txt", "C:\\Nowhere", "C:\\Windows", "C:\\Work"},
     kDrop,
     ArrivalKind::Folder,
     "C:\\Windows"},
    {"DropFilesOnly", {"C:\\boot.ini", "C:\\Work\\notes.txt"}, kDrop, ArrivalKind::Folder, "C:\\"},
    {"DropNothingUsable",
     {"C:\\Nowhere", "\\\\server\\share"},
     kDrop,
     ArrivalKind::NotFound,
     "C:\\Nowhere"},
};

INSTANTIATE_TEST_SUITE_P(Rules, FolderArgument, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The window after a folder arrived, as the user meets it.
class Arrival : public FolderArgument {
 protected:
  void SetUp() override {
    FolderArgument::SetUp();
    ASSERT_TRUE(m.Load());
    m.dialogs.boxes.clear();
  }
  std::string Shown() const { return m.controls.Text(ControlId::txtPath); }
};

// Chosen as the hidden-folder entry chooses one, so that Add finds it.
TEST_F(Arrival, HiddenFolderIsChosenSoThatAddMapsIt) {
  m.form.FolderArrived({"C:\\Secret"}, kDrop);
  EXPECT_EQ(Shown(), "C:\\Secret");
  EXPECT_EQ(m.controls.folderRows.at(static_cast<std::size_t>(m.controls.folderHighlight)).name,
            "Secret");
  m.Pick(ControlId::lstAvail, "K:");
  m.form.cmdOk_Click();
  ASSERT_FALSE(m.processes.runs.empty()) << m.dialogs.boxes.at(0).body;
  EXPECT_EQ(m.processes.runs.back().commandLine, "subst.exe K: \"C:\\Secret\"");
  m.form.FolderArrived({"C:\\Work"}, kDrop);
  EXPECT_EQ(Shown(), "C:\\Work");
}

TEST_F(Arrival, RefusalNamesThePathAndLeavesTheWindowAsItWas) {
  const std::string before = Shown();
  m.form.FolderArrived({"\\\\server\\share"}, kLine);
  m.form.FolderArrived({"C:\\Work", "C:\\Windows"}, kLine);
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "QOR does not work with network drives!\r\n\"\\\\server\\share\"");
  EXPECT_EQ(m.dialogs.boxes[1].body,
            "Only one folder can be given:\r\n\"C:\\Work\" \"C:\\Windows\"\r\n"
            "Usage: kestrane.exe [\"folder\"]");
  EXPECT_EQ(m.dialogs.boxes[1].title, "ERROR!");
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Critical);
  EXPECT_EQ(Shown(), before);
}

}  // namespace
}  // namespace kestrane::fakes
