#include "permanent/startup_script.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace kestrane::fakes {
namespace {

constexpr std::int32_t kBitN = 1 << 13;
constexpr std::int32_t kBitQ = 1 << 16;

const std::string kP = "subst P: \"C:\\P\"";
const std::string kQ = "subst Q: \"C:\\Data\\Projects\"";
const std::string kR = "subst R: \"C:\\R\"";

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

class StartupScript : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    ASSERT_TRUE(m.Load());
    m.form.Ltr = "Q";
    m.faults.Clear();
  }
  void Batch(const std::vector<std::string>& lines) { m.files.AddText(m.BatchPath(), Join(lines)); }
  std::optional<std::string> BatchText() const { return m.files.TextOf(m.BatchPath()); }
  // The mask with these letters permanent, in the file and in PermMask.
  void Mark(std::int32_t bits) {
    m.InstallDataFile(kInitialMask | bits);
    m.module.PermMask = kInitialMask | bits;
  }
  std::set<std::string> FileNames() const {
    std::set<std::string> out;
    for (const auto& [key, entry] : m.files.files) out.insert(key);
    return out;
  }
  Machine m;
};

struct RemovalCase {
  const char* name;
  std::string family;
  std::string letter;
  std::vector<std::string> before;
  std::optional<std::vector<std::string>> after;  // nullopt: the file is gone
};

class StartupScriptRemoval : public StartupScript,
                             public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(StartupScriptRemoval, DropsOnlyTheLettersSubstLines) {
  const RemovalCase& c = GetParam();
  m.module.OSFamily = c.family;
  m.form.Ltr = c.letter;
  Batch(c.before);
  const char letter = c.letter[0];
  Mark(1 << (letter - 'A') | 1 << 1);
  const auto namesBefore = FileNames();
  m.form.RemovePermanent();
  if (c.after) {
    EXPECT_EQ(BatchText(), Join(*c.after));
    EXPECT_EQ(FileNames(), namesBefore);  // no scratch file left behind
  } else {
    EXPECT_FALSE(BatchText().has_value());
  }
  EXPECT_EQ(m.StoredMask(), kInitialMask | 1 << 1);
  EXPECT_EQ(m.module.PermMask, kInitialMask | 1 << 1);
  EXPECT_EQ(m.files.currentDirectory, "C:\\Program Files\\Kestrane");
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

std::vector<std::string> ManyLines(std::size_t n, const std::string& extra) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < n; ++i) out.push_back("rem line " + std::to_string(i));
  if (!extra.empty()) out.insert(out.begin() + static_cast<std::ptrdiff_t>(n / 2), extra);
  return out;
}

const std::vector<std::string> kEchoN{"echo on", kP};

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupScriptRemoval,
    ::testing::Values(
        RemovalCase{"MiddleOfThree", "NT", "Q", {kP, kQ, kR}, std::vector<std::string>{kP, kR}},
        RemovalCase{"OnlyLineDeletesTheFile", "NT", "Q", {kQ}, std::nullopt},
        RemovalCase{"OnlyLineOnVista", "Vista", "Q", {kQ}, std::nullopt},
        RemovalCase{"OnlyLineOn95Family", "W95", "Q", {kQ}, std::nullopt},
        RemovalCase{"BlankLinesLeftDeleteTheFile", "NT", "Q", {"", kQ, "  "}, std::nullopt},
        RemovalCase{
            "LowerCaseLetter", "NT", "Q", {kP, "subst q: \"C:\\x\""}, std::vector<std::string>{kP}},
        RemovalCase{
            "UpperCaseWord", "NT", "Q", {"SUBST Q: \"C:\\x\"", kR}, std::vector<std::string>{kR}},
        RemovalCase{"EveryLineOfTheLetter", "NT", "Q", {kQ, kP, kQ}, std::vector<std::string>{kP}},
        RemovalCase{"EchoOnNeverNamesNOnNt",
                    "NT",
                    "N",
                    {"echo on", "subst N: \"C:\\N\""},
                    std::vector<std::string>{"echo on"}},
        RemovalCase{"EchoOnNeverNamesNOn95",
                    "W95",
                    "N",
                    {"echo on", "subst N: \"C:\\N\""},
                    std::vector<std::string>{"echo on"}},
        RemovalCase{"OtherLinesWithQAtSeven",
                    "NT",
                    "Q",
                    {"rem  Q: x", "set x=Qy", kQ, "subst"},
                    std::vector<std::string>{"rem  Q: x", "set x=Qy", "subst"}},
        RemovalCase{"ShortLinesStay",
                    "NT",
                    "Q",
                    {"", "subst", "subst ", "@echo", kQ},
                    std::vector<std::string>{"", "subst", "subst ", "@echo"}},
        RemovalCase{"NoLineForTheLetterLeavesTheFile",
                    "NT",
                    "Q",
                    {kP, kR},
                    std::vector<std::string>{kP, kR}},
        RemovalCase{"MoreThan255Lines", "NT", "Q", ManyLines(300, kQ), ManyLines(300, "")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupScript, RemovalNeverTouchesAutoexecBat) {
  m.module.OSFamily = "W95";
  m.files.AddText("C:\\autoexec.bat", Join({"@echo off", kQ}));
  Batch({kP, kQ});
  Mark(kBitQ);
  m.form.RemovePermanent();
  EXPECT_EQ(m.files.TextOf("C:\\autoexec.bat"), Join({"@echo off", kQ}));
  EXPECT_EQ(BatchText(), Join({kP}));
}

struct FailureCase {
  const char* name;
  Call call;
  std::vector<std::string> before;
  int number;
};

class StartupScriptFailure : public StartupScript,
                             public ::testing::WithParamInterface<FailureCase> {};

// The old file stays whole and the bit stays set: the user can simply try again.
TEST_P(StartupScriptFailure, LeavesTheOldFileAndTheMask) {
  Batch(GetParam().before);
  Mark(kBitQ);
  const auto before = BatchText();
  const auto namesBefore = FileNames();
  m.faults.Arm(GetParam().call, 1, GetParam().number);
  try {
    m.form.RemovePermanent();
    FAIL() << "no failure reached the caller";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), GetParam().number);
  }
  EXPECT_EQ(BatchText(), before);
  EXPECT_EQ(FileNames(), namesBefore);
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitQ);
  EXPECT_EQ(m.module.PermMask, kInitialMask | kBitQ);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartupScriptFailure,
    ::testing::Values(FailureCase{"Read", Call::FilesReadLines, {kP, kQ, kR}, 57},
                      FailureCase{"Replace", Call::FilesReplaceLines, {kP, kQ, kR}, 61},
                      FailureCase{"DeleteOfTheEmptiedFile", Call::FilesDelete, {kQ}, 70}),
    [](const auto& info) { return std::string(info.param.name); });

// The line is gone by then, so the letter is no longer permanent for this session; the stale
// bit in the file only brings the question back, and a Yes then finds no line and clears it.
TEST_F(StartupScript, FailedMaskWriteAfterTheRewriteReachesTheCaller) {
  Batch({kP, kQ});
  Mark(kBitQ);
  m.faults.Arm(Call::RecordFileWrite, 1, err::kPermissionDenied);
  EXPECT_THROW(m.form.RemovePermanent(), MarkNotCleared);
  EXPECT_EQ(BatchText(), Join({kP}));
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitQ);
  EXPECT_EQ(m.module.PermMask, kInitialMask | kBitQ);
}

TEST_F(StartupScript, MissingBatchFileClearsTheBitAndSaysSo) {
  Mark(kBitQ | kBitN);
  const auto namesBefore = FileNames();
  m.form.RemovePermanent();
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitN);
  EXPECT_EQ(m.module.PermMask, kInitialMask | kBitN);
  EXPECT_EQ(FileNames(), namesBefore);  // nothing created
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "There is no subit.bat in your Startup folder, so it held no line for Q:.\r\n"
            "The letter Q is no longer marked permanent.");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Information);
  EXPECT_EQ(m.dialogs.boxes[0].pointerWhenShown, MousePointer::Default);
}

TEST_F(StartupScript, UnknownStartupFolderKeepsTheMask) {
  m.shell.startup.clear();
  Batch({kQ});
  Mark(kBitQ);
  try {
    m.form.RemovePermanent();
    FAIL() << "no failure reached the caller";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), err::kPathNotFound);
  }
  EXPECT_EQ(m.module.PermMask, kInitialMask | kBitQ);
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitQ);
}

TEST_F(StartupScript, StartupFolderComesWithoutTrailingBackslash) {
  const std::string folder = m.shell.startup;
  m.shell.startup = folder + "\\";
  EXPECT_EQ(m.form.GetStartupFolder(), folder);
  m.shell.startup = folder + std::string(1, '\0') + "junk";
  EXPECT_EQ(m.form.GetStartupFolder(), folder);
  m.shell.startup.clear();
  EXPECT_EQ(m.form.GetStartupFolder(), "");
}

struct CheckCase {
  const char* name;
  std::string family;
  std::string letter;
  std::vector<std::string> lines;
  bool free;
};

class StartupScriptCheck : public StartupScript, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(StartupScriptCheck, ReportsCode1OnlyForALineOfTheLetter) {
  const CheckCase& c = GetParam();
  m.module.OSFamily = c.family;
  m.form.Ltr = c.letter;
  Batch(c.lines);
  EXPECT_EQ(m.form.CheckStartupScript(m.BatchPath()), c.free);
  if (c.free) {
    EXPECT_TRUE(m.dialogs.boxes.empty());
  } else {
    ASSERT_EQ(m.dialogs.boxes.size(), 1u);
    EXPECT_EQ(m.dialogs.boxes[0].body,
              "This Letter, \"" + c.letter + "\", is already assigned to a Folder!");
    EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupScriptCheck,
    ::testing::Values(CheckCase{"OtherLettersOnly", "NT", "Q", {kP, kR}, true},
                      CheckCase{"LetterListed", "NT", "Q", {kP, kQ}, false},
                      CheckCase{"LowerCaseLine", "NT", "Q", {"subst q: \"C:\\x\""}, false},
                      CheckCase{"LowerCaseLetter", "W95", "q", {kQ}, false},
                      CheckCase{"EchoOnIsNotNOnNt", "NT", "N", {"echo on"}, true},
                      CheckCase{"EchoOnIsNotNOn95", "W95", "N", {"echo on"}, true},
                      CheckCase{"ShortLines", "NT", "Q", {"", "subst", "rem"}, true},
                      CheckCase{"EmptyFile", "Vista", "Q", {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
