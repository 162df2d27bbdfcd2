#include <gtest/gtest.h>

#include <thread>

#include "expect_file_error.h"
#include "test_folder.h"
#include "win32/platform/handles.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_files.h"

namespace kestrane::win32 {
namespace {

using test::TestFolder;

class FilesTest : public testing::Test {
 protected:
  TestFolder dir;
  Win32Files files;
};

TEST_F(FilesTest, FileExistsForPlainAndHiddenFilesButNotFolders) {
  dir.MakeFile(L"plain.txt", "x");
  dir.MakeFile(L"hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  dir.MakeFile(L"locked.txt", "x", FILE_ATTRIBUTE_READONLY);
  dir.MakeFolder(L"folder");
  EXPECT_TRUE(files.FileExists(dir.At(L"plain.txt")));
  EXPECT_TRUE(files.FileExists(dir.At(L"hidden.txt")));
  EXPECT_TRUE(files.FileExists(dir.At(L"locked.txt")));
  EXPECT_FALSE(files.FileExists(dir.At(L"folder")));
  EXPECT_FALSE(files.FileExists(dir.At(L"missing.txt")));
  EXPECT_FALSE(files.FileExists(""));
}

TEST_F(FilesTest, DirectoryExistsShowsHiddenFoldersOnlyWhenAsked) {
  dir.MakeFolder(L"open");
  dir.MakeFolder(L"secret", FILE_ATTRIBUTE_HIDDEN);
  dir.MakeFile(L"file", "x");
  EXPECT_TRUE(files.DirectoryExists(dir.At(L"open"), false));
  EXPECT_TRUE(files.DirectoryExists(dir.At(L"open"), true));
  EXPECT_FALSE(files.DirectoryExists(dir.At(L"secret"), false));
  EXPECT_TRUE(files.DirectoryExists(dir.At(L"secret"), true));
  EXPECT_FALSE(files.DirectoryExists(dir.At(L"file"), true));
  EXPECT_FALSE(files.DirectoryExists(dir.At(L"missing"), true));
}

TEST_F(FilesTest, DriveRootIsAVisibleFolderWithOrWithoutTrailingBackslash) {
  EXPECT_TRUE(files.DirectoryExists("C:\\", false));
  EXPECT_TRUE(files.DirectoryExists("c:", false));
}

TEST_F(FilesTest, SubFoldersListsVisibleFoldersSortedIgnoringCase) {
  dir.MakeFolder(L"beta");
  dir.MakeFolder(L"Alpha");
  dir.MakeFolder(L"gamma");
  dir.MakeFolder(L"Ärger");
  dir.MakeFolder(L"hidden", FILE_ATTRIBUTE_HIDDEN);
  dir.MakeFolder(L"system", FILE_ATTRIBUTE_SYSTEM);
  dir.MakeFile(L"aaa-file", "x");
  const std::vector<std::string> expected = {"Alpha", "Ärger", "beta", "gamma"};
  EXPECT_EQ(files.SubFolders(Narrow(dir.Path())), expected);
  EXPECT_EQ(files.SubFolders(Narrow(dir.Path()) + "\\"), expected);
}

TEST_F(FilesTest, SubFoldersOfAnEmptyFolderIsEmptyAndOfAMissingOneFails) {
  dir.MakeFolder(L"empty");
  EXPECT_TRUE(files.SubFolders(dir.At(L"empty")).empty());
  EXPECT_FILE_ERROR(files.SubFolders(dir.At(L"missing")), err::kPathNotFound);
}

TEST_F(FilesTest, CurrentDirectoryIsTheProcessOne) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  dir.MakeFolder(L"Café");
  ASSERT_TRUE(SetCurrentDirectoryW(dir.WideAt(L"Café").c_str()));
  const std::string now = files.CurrentDirectory();
  SetCurrentDirectoryW(before);
  EXPECT_EQ(now, dir.At(L"Café"));
}

TEST_F(FilesTest, DeleteRemovesAFileAndReportsWhatIsNotOne) {
  dir.MakeFile(L"gone.txt", "x");
  dir.MakeFolder(L"folder");
  files.Delete(dir.At(L"gone.txt"));
  EXPECT_FALSE(files.FileExists(dir.At(L"gone.txt")));
  EXPECT_FILE_ERROR(files.Delete(dir.At(L"gone.txt")), err::kFileNotFound);
  EXPECT_FILE_ERROR(files.Delete(dir.At(L"folder")), err::kPathFileAccess);
  EXPECT_FILE_ERROR(files.Delete(dir.At(L"no\\such.txt")), err::kPathNotFound);
  dir.MakeFile(L"kept.txt", "x", FILE_ATTRIBUTE_READONLY);
  EXPECT_FILE_ERROR(files.Delete(dir.At(L"kept.txt")), err::kPermissionDenied);
  EXPECT_TRUE(files.FileExists(dir.At(L"kept.txt")));
}

// ---- record files

class RecordFileTest : public FilesTest {};

TEST_F(RecordFileTest, WritesTheBytesAtTheSlotAndReadsThemBack) {
  dir.MakeFile(L"data.qor", "");
  const std::string path = dir.At(L"data.qor");
  {
    auto records = files.OpenRecords(path, 4);
    records->Write(1, {1, 2, 3, 4});
    records->Write(3, {9, 8, 7, 6});
    EXPECT_EQ(records->Read(3), (Bytes{9, 8, 7, 6}));
    EXPECT_EQ(records->Read(2), (Bytes{0, 0, 0, 0}));  // the gap reads as zeros
  }
  EXPECT_EQ(dir.BytesOf(L"data.qor"), std::string("\1\2\3\4\0\0\0\0\x9\x8\x7\x6", 12));
}

TEST_F(RecordFileTest, WritingSlotTwoLeavesSlotOne) {
  dir.MakeFile(L"data.qor", "ABCDEFGH");
  {
    auto records = files.OpenRecords(dir.At(L"data.qor"), 4);
    records->Write(2, {'w', 'x', 'y', 'z'});
    EXPECT_EQ(records->Read(1), (Bytes{'A', 'B', 'C', 'D'}));
  }
  EXPECT_EQ(dir.BytesOf(L"data.qor"), "ABCDwxyz");
}

TEST_F(RecordFileTest, BytesPastTheEndReadAsZeros) {
  dir.MakeFile(L"short.qor", "abcdefg");
  auto records = files.OpenRecords(dir.At(L"short.qor"), 5);
  EXPECT_EQ(records->Read(2), (Bytes{'f', 'g', 0, 0, 0}));
  EXPECT_EQ(records->Read(7), (Bytes{0, 0, 0, 0, 0}));
}

// A record written to a file that was deleted meanwhile would make a file of the wrong size.
TEST_F(RecordFileTest, AMissingFileIsNotFoundAndNotCreated) {
  EXPECT_FILE_ERROR(files.OpenRecords(dir.At(L"new.qor"), 3), err::kFileNotFound);
  bool exists = true;
  dir.BytesOf(L"new.qor", &exists);
  EXPECT_FALSE(exists);
}

TEST_F(RecordFileTest, AReadOnlyFileCanBeReadButNotWritten) {
  dir.MakeFile(L"ro.qor", "1234", FILE_ATTRIBUTE_READONLY);
  auto records = files.OpenRecords(dir.At(L"ro.qor"), 4);
  EXPECT_EQ(records->Read(1), (Bytes{'1', '2', '3', '4'}));
  EXPECT_FILE_ERROR(records->Write(1, {0, 0, 0, 0}), err::kPermissionDenied);
  EXPECT_EQ(dir.BytesOf(L"ro.qor"), "1234");
}

// Held by another program for longer than the brief wait: in use, not forbidden.
TEST_F(RecordFileTest, AFileHeldWithoutSharingIsInUse) {
  dir.MakeFile(L"held.qor", "1234");
  FileHandle holder(CreateFileW(dir.WideAt(L"held.qor").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_FILE_ERROR(files.OpenRecords(dir.At(L"held.qor"), 4), err::kFileInUse);
}

TEST_F(RecordFileTest, FailuresOfTheOpenCarryTheirNumbers) {
  dir.MakeFolder(L"folder.qor");
  EXPECT_FILE_ERROR(files.OpenRecords(dir.At(L"folder.qor"), 4), err::kPathFileAccess);
  EXPECT_FILE_ERROR(files.OpenRecords(dir.At(L"none\\data.qor"), 4), err::kPathNotFound);
}

TEST_F(RecordFileTest, RecordNumbersStartAtOne) {
  dir.MakeFile(L"data.qor", "");
  auto records = files.OpenRecords(dir.At(L"data.qor"), 4);
  EXPECT_FILE_ERROR(records->Read(0), 63);
  EXPECT_FILE_ERROR(records->Write(-1, {1}), 63);
  EXPECT_FILE_ERROR(records->Write(1, {1, 2, 3, 4, 5}), 59);  // longer than a slot
}

// Two copies of the program meet at one lease per set of files, whatever the case of the path
// names it: while one holds it the other waits, and a wait that runs out is the files in use.
TEST_F(FilesTest, ALeaseIsHeldByOneCopyAtATime) {
  auto held = files.Lease("C:\\Users\\Ann\\himem32.qor", 0);
  std::thread([this] {
    // Another thread is another owner, as another copy of the program would be.
    EXPECT_FILE_ERROR(files.Lease("c:\\users\\ann\\HIMEM32.QOR", 50), err::kFileInUse);
  }).join();
  held.reset();
  std::thread([this] {
    EXPECT_NE(files.Lease("c:\\users\\ann\\HIMEM32.QOR", 1000), nullptr);
  }).join();
}

}  // namespace
}  // namespace kestrane::win32
