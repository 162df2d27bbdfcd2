#include "app/folder_argument.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace kestrane::fakes {
namespace {

constexpr auto kLine = ArrivalWay::CommandLine;
constexpr auto kDrop = ArrivalWay::Drop;

struct ArrivalCase {
  const char* name;
  std::vector<std::string> items;
  ArrivalWay way;
  ArrivalKind kind;
  std::string path;
  bool hidden = false;
  int listingFailure = 0;  // the first listing of a folder fails with this number
};

// The program runs from C:\Program Files\Kestrane, beside a hidden folder, a file in C:\Work and
// a network drive N:.
class FolderArgument : public ::testing::TestWithParam<ArrivalCase> {
 protected:
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\Some Folder");
    m.files.AddFolder("C:\\Secret", true);
    m.files.AddText("C:\\Work\\notes.txt", "notes");
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

using K = ArrivalKind;
const ArrivalCase kCases[] = {
    {"Nothing", {}, kLine, K::None, ""},
    {"Plain", {"C:\\Some Folder"}, kLine, K::Folder, "C:\\Some Folder"},
    {"TrailingBackslash", {"C:\\Some Folder\\"}, kLine, K::Folder, "C:\\Some Folder"},
    // "C:\Some Folder\" as Windows splits it.
    {"EscapedClosingQuote", {"C:\\Some Folder\""}, kLine, K::Folder, "C:\\Some Folder"},
    {"DriveRootQuoted", {"C:\""}, kLine, K::Folder, "C:\\"},
    {"Relative", {"..\\..\\Some Folder"}, kLine, K::Folder, "C:\\Some Folder"},
    {"DriveRelative", {"C:..\\..\\Work"}, kLine, K::Folder, "C:\\Work"},
    {"FileGivesItsFolder", {"C:\\Work\\notes.txt"}, kLine, K::Folder, "C:\\Work"},
    {"Hidden", {"C:\\Secret"}, kLine, K::Folder, "C:\\Secret", true},
    {"Missing", {"C:\\Nowhere"}, kLine, K::NotFound, "C:\\Nowhere"},
    {"TrailingSpaces", {"C:\\Some Folder  "}, kLine, K::Unmappable, "C:\\Some Folder  "},
    {"NoSuchDrive", {"Q:\\Work"}, kLine, K::NotFound, "Q:\\Work"},
    {"QuoteInside", {"C:\\Wo\"rk"}, kLine, K::NotFound, "C:\\Wo\"rk"},
    {"ControlCharacter", {"C:\\Work\r\n"}, kLine, K::NotFound, "C:\\Work\r\n"},
    {"Share", {"\\\\server\\share"}, kLine, K::Network, "\\\\server\\share"},
    {"NetworkDrive", {"n:\\Share"}, kLine, K::Network, "N:\\Share"},
    {"Unreadable", {"C:\\Work"}, kLine, K::Unreadable, "C:\\Work", false, 70},
    {"TwoArguments", {"C:\\Work", "C:\\x"}, kLine, K::TooMany, "\"C:\\Work\" \"C:\\x\""},
    {"DropFirstFolder",
     {"C:\\Work\\notes.txt", "C:\\Nowhere", "C:\\Windows"},
     kDrop,
     K::Folder,
     "C:\\Windows"},
    {"DropFilesOnly", {"C:\\Work\\notes.txt", "C:\\Nowhere"}, kDrop, K::Folder, "C:\\Work"},
};

INSTANTIATE_TEST_SUITE_P(Rules, FolderArgument, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
