// Without its data file, or with one not of its installed size, the program explains itself
// once and ends, before any window shows.

#include "program_test.h"

namespace {

using namespace e2e;

class MissingDataFile : public ProgramTest, public ::testing::WithParamInterface<std::size_t> {
 protected:
  // Only the code-255 box, no main window, and the process gone once the box is answered.
  void ExpectOnlyTheMissingFileBoxThenTheEnd() {
    program_.emplace(Program::Start());
    auto box = NextBox(kStartLimit);
    ASSERT_TRUE(box.has_value()) << "no message box appeared";
    EXPECT_TRUE(
        Looks(*box, Error(L"There is a missing or corrupt file! Remove and reinstall the software, "
                          L"\r\nif the problem persists e-mail us at support@kestrane.example!")));
    EXPECT_EQ(program_->FindVisible(ids::kMainWindowClass), nullptr);

    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_TRUE(program_->WaitForExit().has_value()) << "the program is still running";
  }
};

TEST_F(MissingDataFile, FileMissingFromTheDataFolder) {
  ASSERT_TRUE(DeleteFileW(DataFilePath().c_str()));
  ExpectOnlyTheMissingFileBoxThenTheEnd();
}

TEST_F(MissingDataFile, DataFolderMissing) {
  DeleteTree(DataFolder().substr(0, DataFolder().size() - 1));
  ASSERT_FALSE(Exists(DataFolder()));
  ExpectOnlyTheMissingFileBoxThenTheEnd();
}

// A data file of any other size than the installer's is as good as missing: the same box, and
// the file is left exactly as it was found, never padded.
TEST_P(MissingDataFile, DataFileOfTheWrongSize) {
  auto bytes = InitialDataFile();
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  bytes.resize(GetParam(), 0x5A);
  WriteBytes(DataFilePath(), bytes);
  ExpectOnlyTheMissingFileBoxThenTheEnd();
  EXPECT_EQ(ReadBytes(DataFilePath()), bytes);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MissingDataFile, ::testing::Values(0, 1000, 2499, 2501));

}  // namespace
