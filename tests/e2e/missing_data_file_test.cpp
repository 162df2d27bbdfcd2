// Without its data file the program explains itself once and ends, before any window shows.

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "e2e_support.h"

namespace {

using namespace e2e;

constexpr wchar_t kBody[] =
    L"There is a missing or corrupt file! Remove and reinstall the software, \r\n"
    L"if the problem persists e-mail us at support@kestrane.example!";

class MissingDataFile : public ::testing::Test {
 protected:
  // Only the code-255 box, no main window, and the process gone once the box is answered.
  void ExpectOnlyTheMissingFileBoxThenTheEnd() {
    Program program = Program::Start();
    auto box = WaitForBox(program, kStartLimit);
    ASSERT_TRUE(box.has_value()) << "no message box appeared";
    EXPECT_EQ(box->title, L"ERROR!");
    EXPECT_EQ(box->text, kBody);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box->icon, Icon::Critical);
    EXPECT_EQ(program.FindVisible(kestrane::ids::kMainWindowClass), nullptr);

    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_TRUE(program.WaitForExit().has_value()) << "the program is still running";
  }
};

TEST_F(MissingDataFile, FileMissingFromTheDataFolder) {
  WriteInitialDataFile();
  ASSERT_TRUE(DeleteFileW(DataFilePath().c_str()));
  ExpectOnlyTheMissingFileBoxThenTheEnd();
}

TEST_F(MissingDataFile, DataFolderMissing) {
  DeleteTree(DataFolder().substr(0, DataFolder().size() - 1));
  ASSERT_FALSE(Exists(DataFolder()));
  ExpectOnlyTheMissingFileBoxThenTheEnd();
}

}  // namespace
