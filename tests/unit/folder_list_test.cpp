#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "platform/paths.h"

namespace kestrane::fakes {
namespace {

class Folders : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFolder("C:\\Windows\\System32");
    files.AddFolder("C:\\Windows\\Fonts");
    files.AddFolder("C:\\Windows\\Secret", true);
    files.AddFolder("C:\\Work");
  }
  Faults faults;
  FakeFiles files{faults};
  FolderList list{files};
};

TEST_F(Folders, ShowsAncestorsCurrentAndVisibleSubFolders) {
  ASSERT_TRUE(list.SetPath("c:\\windows"));
  EXPECT_EQ(list.Path(), "C:\\windows");
  const auto rows = list.Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (Controls::FolderRow{"C:\\", 0, true}));
  EXPECT_EQ(rows[1], (Controls::FolderRow{"windows", 1, true}));
  EXPECT_EQ(rows[2].name, "Fonts");
  EXPECT_EQ(rows[3].name, "System32");
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_EQ(list.RowPath(0), "C:\\");
  EXPECT_EQ(list.RowPath(3), "C:\\windows\\System32");
  EXPECT_EQ(list.RowPath(4), "");
}

TEST_F(Folders, RootOfTheCurrentDriveAndTrailingBackslash) {
  files.currentDirectory = "C:\\Work";
  ASSERT_TRUE(list.SetPath("\\"));
  EXPECT_EQ(list.Path(), "C:\\");
  EXPECT_EQ(list.RowPath(1), "C:\\Windows");
  ASSERT_TRUE(list.SetPath("C:\\Windows\\"));
  EXPECT_EQ(list.Path(), "C:\\Windows");
  EXPECT_FALSE(list.SetPath("C:\\Windows"));  // no change: no change event
}

struct BadPath {
  const char* path;
};

class MissingFolders : public Folders, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingFolders, FailWithPathNotFoundAndKeepTheList) {
  ASSERT_TRUE(list.SetPath("C:\\Work"));
  try {
    list.SetPath(GetParam());
    FAIL() << "no failure for " << GetParam();
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), err::kPathNotFound);
  }
  EXPECT_EQ(list.Path(), "C:\\Work");
}

INSTANTIATE_TEST_SUITE_P(Paths, MissingFolders,
                         ::testing::Values("C:\\nothere", "C:\\Work\\a*b", "C:\\Work\\a?",
                                           "C:\\Work\\\"x\"", "C:\\Work\\x:y", "",
                                           "\\\\server\\share", "Work"));

TEST_F(Folders, DotDotIsResolved) {
  ASSERT_TRUE(list.SetPath("C:\\Windows\\..\\Work"));
  EXPECT_EQ(list.Path(), "C:\\Work");
  EXPECT_EQ(NormalPath("C:\\..\\.."), "C:\\");
}

// Lengths count UTF-16 units, as Windows does: "é" is one, a character past the basic plane two.
TEST(TargetLimits, FollowWindowsReadingOfAPath) {
  std::string accented = "C:\\";
  for (int i = 0; i < 256; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(TargetLimitOf(accented), TargetLimit::None);
  EXPECT_EQ(TargetLimitOf("C:\\" + std::string(257, 'a')), TargetLimit::TooLong);
  EXPECT_EQ(TargetLimitOf("C:\\" + std::string(255, 'a') + "\xF0\x9F\x98\x80"),
            TargetLimit::TooLong);
  EXPECT_EQ(TargetLimitOf("C:\\x\\v1.\\sub"), TargetLimit::TrimmedName);
  EXPECT_EQ(TargetLimitOf("C:\\x\\..\\y.z"), TargetLimit::None);
}

TEST_F(Folders, HiddenFolderCanBeCurrent) {
  ASSERT_TRUE(list.SetPath("C:\\Windows\\Secret"));
  EXPECT_EQ(list.Rows().back().name, "Secret");
}

}  // namespace
}  // namespace kestrane::fakes
