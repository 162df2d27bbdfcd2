#include <gtest/gtest.h>

#include "expect_file_error.h"
#include "test_folder.h"
#include "win32/platform/handles.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"

namespace kestrane::win32 {
namespace {

using test::TestFolder;
using Lines = std::vector<std::string>;

class TextFilesTest : public testing::Test {
 protected:
  TestFolder dir;
  Win32Files files;
};

TEST_F(TextFilesTest, ReadLinesSplitsOnCrLfAndOnBareLf) {
  dir.MakeFile(L"crlf.bat", "subst Q: \"C:\\A\"\r\n\r\necho on\r\n");
  dir.MakeFile(L"lf.bat", "one\ntwo\r\nthree");
  EXPECT_EQ(files.ReadLines(dir.At(L"crlf.bat")), (Lines{"subst Q: \"C:\\A\"", "", "echo on"}));
  EXPECT_EQ(files.ReadLines(dir.At(L"lf.bat")), (Lines{"one", "two", "three"}));
}

TEST_F(TextFilesTest, ReadLinesOfAnEmptyFileIsEmpty) {
  dir.MakeFile(L"empty.bat", "");
  EXPECT_TRUE(files.ReadLines(dir.At(L"empty.bat")).empty());
}

TEST_F(TextFilesTest, ReadLinesReportsWhatIsNotAFile) {
  dir.MakeFolder(L"folder.bat");
  EXPECT_FILE_ERROR(files.ReadLines(dir.At(L"missing.bat")), err::kFileNotFound);
  EXPECT_FILE_ERROR(files.ReadLines(dir.At(L"folder.bat")), err::kPathFileAccess);
  EXPECT_FILE_ERROR(files.ReadLines(dir.At(L"no\\such.bat")), err::kPathNotFound);
}

TEST_F(TextFilesTest, AccentedTextIsStoredOneByteACharacterAndReadsBack) {
  const std::string line = "subst K: \"C:\\Caf\xC3\xA9\\D\xC3\xBCsseldorf\"";  // two accents
  ASSERT_TRUE(files.CanEncode(line));
  files.AppendLine(dir.At(L"subit.bat"), line);
  const std::string bytes = dir.BytesOf(L"subit.bat");
  // Two bytes fewer than the UTF-8 text for the accents, two more for CR LF.
  EXPECT_EQ(bytes.size(), line.size());
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(files.ReadLines(dir.At(L"subit.bat")), Lines{line});
}

TEST_F(TextFilesTest, TheCommandInterpreterReadsTheAccentedFolderWeWrote) {
  dir.MakeFolder(L"Café");
  const std::string bat = dir.At(L"check.bat");
  files.AppendLine(bat, "@if exist \"" + dir.At(L"Café") + "\\\" exit 7");
  files.AppendLine(bat, "@exit 1");
  Win32Processes processes;
  const std::string cmd = "\"" + Win32Shell().SystemFolder() + "\\cmd.exe\"";
  const ProcessOutcome outcome = processes.RunHidden(cmd + " /c \"" + bat + "\"", "", 20000);
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 7u);
}

TEST_F(TextFilesTest, CanEncodeRefusesWhatTheCodePageLacks) {
  EXPECT_TRUE(files.CanEncode(""));
  EXPECT_TRUE(files.CanEncode("C:\\Data\\Projects"));
  EXPECT_TRUE(files.CanEncode("C:\\Caf\xC3\xA9"));
  EXPECT_FALSE(files.CanEncode("C:\\\xE4\xB8\xAD\xE6\x96\x87"));  // Chinese
  EXPECT_FALSE(files.CanEncode("C:\\\xC4\x81"));                  // a with macron: no best fit
}

TEST_F(TextFilesTest, AppendLineCreatesTheFileThenAddsToIt) {
  files.AppendLine(dir.At(L"subit.bat"), "subst P: \"C:\\P\"");
  files.AppendLine(dir.At(L"subit.bat"), "subst Q: \"C:\\Q\"");
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "subst P: \"C:\\P\"\r\nsubst Q: \"C:\\Q\"\r\n");
}

TEST_F(TextFilesTest, AppendLineStartsANewLineAfterAFileWithoutAFinalLineEnd) {
  dir.MakeFile(L"subit.bat", "echo off");
  files.AppendLine(dir.At(L"subit.bat"), "subst Q: \"C:\\Q\"");
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "echo off\r\nsubst Q: \"C:\\Q\"\r\n");
}

TEST_F(TextFilesTest, AppendLineRefusesAndLeavesTheFileWhenItCannotWrite) {
  dir.MakeFile(L"ro.bat", "keep\r\n", FILE_ATTRIBUTE_READONLY);
  dir.MakeFile(L"subit.bat", "keep\r\n");
  dir.MakeFolder(L"folder.bat");
  EXPECT_FILE_ERROR(files.AppendLine(dir.At(L"ro.bat"), "x"), err::kPermissionDenied);
  EXPECT_FILE_ERROR(files.AppendLine(dir.At(L"folder.bat"), "x"), err::kPathFileAccess);
  EXPECT_FILE_ERROR(files.AppendLine(dir.At(L"subit.bat"), "\xE4\xB8\xAD"), err::kBadFileName);
  EXPECT_EQ(dir.BytesOf(L"ro.bat"), "keep\r\n");
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "keep\r\n");
}

// The new file takes the old one's place in one step: what was there stays byte for byte (no
// code page is guessed for it), and no scratch file is left.
TEST_F(TextFilesTest, AppendLineKeepsTheOldBytesAndLeavesNoScratchFile) {
  const std::string old("@echo off\r\nrem \x82\xff\x01 mine\n", 24);
  dir.MakeFile(L"subit.bat", old, FILE_ATTRIBUTE_HIDDEN);
  files.AppendLine(dir.At(L"subit.bat"), "subst Q: \"C:\\Q\"");
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), old + "subst Q: \"C:\\Q\"\r\n");
  EXPECT_EQ(dir.Entries(), std::vector<std::wstring>{L"subit.bat"});
  EXPECT_TRUE(GetFileAttributesW(dir.WideAt(L"subit.bat").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// ---- the rewrite in one step

class ReplaceLinesTest : public TextFilesTest {
 protected:
  void ExpectOnly(const std::vector<std::wstring>& names) { EXPECT_EQ(dir.Entries(), names); }
};

TEST_F(ReplaceLinesTest, ReplacesTheContentWithCrLfLines) {
  dir.MakeFile(L"subit.bat", "subst P: \"C:\\P\"\r\nsubst Q: \"C:\\Q\"\r\nsubst R: \"C:\\R\"\r\n");
  files.ReplaceLines(dir.At(L"subit.bat"), {"subst P: \"C:\\P\"", "subst R: \"C:\\R\""});
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "subst P: \"C:\\P\"\r\nsubst R: \"C:\\R\"\r\n");
  ExpectOnly({L"subit.bat"});
}

TEST_F(ReplaceLinesTest, CreatesAMissingTargetAndWritesNoLinesAsAnEmptyFile) {
  files.ReplaceLines(dir.At(L"new.bat"), {"one"});
  files.ReplaceLines(dir.At(L"empty.bat"), {});
  EXPECT_EQ(dir.BytesOf(L"new.bat"), "one\r\n");
  bool exists = false;
  EXPECT_EQ(dir.BytesOf(L"empty.bat", &exists), "");
  EXPECT_TRUE(exists);
  ExpectOnly({L"empty.bat", L"new.bat"});
}

TEST_F(ReplaceLinesTest, AReadOnlyTargetKeepsItsContentAndNoScratchFileIsLeft) {
  dir.MakeFile(L"subit.bat", "old\r\n", FILE_ATTRIBUTE_READONLY);
  EXPECT_FILE_ERROR(files.ReplaceLines(dir.At(L"subit.bat"), {"new"}), err::kPermissionDenied);
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "old\r\n");
  ExpectOnly({L"subit.bat"});
}

TEST_F(ReplaceLinesTest, ATargetHeldOpenKeepsItsContentAndNoScratchFileIsLeft) {
  dir.MakeFile(L"subit.bat", "old\r\n");
  {
    // Another program has the file open and does not let it be deleted or renamed over.
    FileHandle holder(CreateFileW(dir.WideAt(L"subit.bat").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FILE_ERROR(files.ReplaceLines(dir.At(L"subit.bat"), {"new"}), err::kPermissionDenied);
  }
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "old\r\n");
  ExpectOnly({L"subit.bat"});
}

TEST_F(ReplaceLinesTest, AFolderInPlaceOfTheTargetIsLeftAloneAndNoScratchFileIsLeft) {
  dir.MakeFolder(L"subit.bat");
  dir.MakeFile(L"subit.bat\\inside.txt", "x");
  EXPECT_FILE_ERROR(files.ReplaceLines(dir.At(L"subit.bat"), {"new"}), err::kPathFileAccess);
  EXPECT_EQ(dir.BytesOf(L"subit.bat\\inside.txt"), "x");
  ExpectOnly({L"subit.bat"});
}

TEST_F(ReplaceLinesTest, AnUnwritableLineLeavesTheTargetAsItWas) {
  dir.MakeFile(L"subit.bat", "old\r\n");
  EXPECT_FILE_ERROR(files.ReplaceLines(dir.At(L"subit.bat"), {"ok", "\xE4\xB8\xAD"}),
                    err::kBadFileName);
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "old\r\n");
  ExpectOnly({L"subit.bat"});
}

TEST_F(ReplaceLinesTest, AHiddenTargetStaysHidden) {
  dir.MakeFile(L"subit.bat", "old\r\n", FILE_ATTRIBUTE_HIDDEN);
  files.ReplaceLines(dir.At(L"subit.bat"), {"new"});
  EXPECT_EQ(dir.BytesOf(L"subit.bat"), "new\r\n");
  EXPECT_TRUE(GetFileAttributesW(dir.WideAt(L"subit.bat").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(ReplaceLinesTest, AMissingFolderIsPathNotFound) {
  EXPECT_FILE_ERROR(files.ReplaceLines(dir.At(L"none\\subit.bat"), {"x"}), err::kPathNotFound);
}

}  // namespace
}  // namespace kestrane::win32
