#include "permanent/startup_script.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"
#include "permanent/permanent_drives.h"

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

class StartupScriptFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    perm.UseDataFolder(m.DataFolder());
  }
  void Batch(const std::vector<std::string>& lines) { m.files.AddText(m.BatchPath(), Join(lines)); }
  std::optional<std::string> BatchText() const { return m.files.TextOf(m.BatchPath()); }
  // The mask with these letters permanent, in the file and as last read.
  void Mark(std::int32_t bits) {
    m.InstallDataFile(kInitialMask | bits);
    perm.LoadMask();
  }
  std::set<std::string> FileNames() const {
    std::set<std::string> out;
    for (const auto& [key, entry] : m.files.files) out.insert(key);
    return out;
  }
  Machine m;
  OsFamily family = OsFamily::Nt;
  LetterProbe probe{m.drives};
  SubstRunner runner{probe, m.drives, m.files, m.processes, m.shell};
  StartupScript script{m.files, m.shell};
  PermanentDrives perm{m.files, m.shell, m.drives, probe, runner};
};

struct RemovalCase {
  const char* name;
  OsFamily family;
  std::string letter;
  std::vector<std::string> before;
  std::optional<std::vector<std::string>> after;  // nullopt: the file is gone
};

class StartupScriptRemoval : public StartupScriptFile,
                             public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(StartupScriptRemoval, DropsOnlyTheLettersSubstLines) {
  const RemovalCase& c = GetParam();
  family = c.family;
  Batch(c.before);
  const char letter = c.letter[0];
  Mark(1 << (letter - 'A') | 1 << 1);
  const auto namesBefore = FileNames();
  EXPECT_EQ(perm.Forget(letter), ForgetOutcome::LineRemoved);
  if (c.after) {
    EXPECT_EQ(BatchText(), Join(*c.after));
    EXPECT_EQ(FileNames(), namesBefore);  // no scratch file left behind
  } else {
    EXPECT_FALSE(BatchText().has_value());
  }
  EXPECT_EQ(m.StoredMask(), kInitialMask | 1 << 1);
  EXPECT_FALSE(perm.ReadWhetherPermanent(letter));
  EXPECT_EQ(m.files.currentDirectory, "C:\\Program Files\\Kestrane");
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
        RemovalCase{
            "MiddleOfThree", OsFamily::Nt, "Q", {kP, kQ, kR}, std::vector<std::string>{kP, kR}},
        RemovalCase{"OnlyLineDeletesTheFile", OsFamily::Nt, "Q", {kQ}, std::nullopt},
        RemovalCase{"OnlyLineOnVista", OsFamily::Vista, "Q", {kQ}, std::nullopt},
        RemovalCase{"OnlyLineOn95Family", OsFamily::W95, "Q", {kQ}, std::nullopt},
        RemovalCase{"BlankLinesLeftDeleteTheFile", OsFamily::Nt, "Q", {"", kQ, "  "}, std::nullopt},
        RemovalCase{"LowerCaseLetter",
                    OsFamily::Nt,
                    "Q",
                    {kP, "subst q: \"C:\\x\""},
                    std::vector<std::string>{kP}},
        RemovalCase{"UpperCaseWord",
                    OsFamily::Nt,
                    "Q",
                    {"SUBST Q: \"C:\\x\"", kR},
                    std::vector<std::string>{kR}},
        RemovalCase{
            "EveryLineOfTheLetter", OsFamily::Nt, "Q", {kQ, kP, kQ}, std::vector<std::string>{kP}},
        RemovalCase{"EchoOnNeverNamesNOnNt",
                    OsFamily::Nt,
                    "N",
                    {"echo on", "subst N: \"C:\\N\""},
                    std::vector<std::string>{"echo on"}},
        RemovalCase{"EchoOnNeverNamesNOn95",
                    OsFamily::W95,
                    "N",
                    {"echo on", "subst N: \"C:\\N\""},
                    std::vector<std::string>{"echo on"}},
        RemovalCase{"OtherLinesWithQAtSeven",
                    OsFamily::Nt,
                    "Q",
                    {"rem  Q: x", "set x=Qy", kQ, "subst"},
                    std::vector<std::string>{"rem  Q: x", "set x=Qy", "subst"}},
        RemovalCase{"ShortLinesStay",
                    OsFamily::Nt,
                    "Q",
                    {"", "subst", "subst ", "@echo", kQ},
                    std::vector<std::string>{"", "subst", "subst ", "@echo"}},
        RemovalCase{"NoLineForTheLetterLeavesTheFile",
                    OsFamily::Nt,
                    "Q",
                    {kP, kR},
                    std::vector<std::string>{kP, kR}},
        RemovalCase{"MoreThan255Lines", OsFamily::Nt, "Q", ManyLines(300, kQ), ManyLines(300, "")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupScriptFile, RemovalNeverTouchesAutoexecBat) {
  family = OsFamily::W95;
  m.files.AddText("C:\\autoexec.bat", Join({"@echo off", kQ}));
  Batch({kP, kQ});
  Mark(kBitQ);
  perm.Forget('Q');
  EXPECT_EQ(m.files.TextOf("C:\\autoexec.bat"), Join({"@echo off", kQ}));
  EXPECT_EQ(BatchText(), Join({kP}));
}

struct FailureCase {
  const char* name;
  Call call;
  std::vector<std::string> before;
  int number;
};

class StartupScriptFailure : public StartupScriptFile,
                             public ::testing::WithParamInterface<FailureCase> {};

// The old file stays whole and the bit stays set: the user can simply try again.
TEST_P(StartupScriptFailure, LeavesTheOldFileAndTheMask) {
  Batch(GetParam().before);
  Mark(kBitQ);
  const auto before = BatchText();
  const auto namesBefore = FileNames();
  m.faults.Arm(GetParam().call, 1, GetParam().number);
  try {
    perm.Forget('Q');
    FAIL() << "no failure reached the caller";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), GetParam().number);
  }
  EXPECT_EQ(BatchText(), before);
  EXPECT_EQ(FileNames(), namesBefore);
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitQ);
  EXPECT_TRUE(perm.ReadWhetherPermanent('Q'));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartupScriptFailure,
    ::testing::Values(FailureCase{"Read", Call::FilesReadLines, {kP, kQ, kR}, 57},
                      FailureCase{"Replace", Call::FilesReplaceLines, {kP, kQ, kR}, 61},
                      FailureCase{"DeleteOfTheEmptiedFile", Call::FilesDelete, {kQ}, 70}),
    [](const auto& info) { return std::string(info.param.name); });

// The line goes back in, so that the letter keeps its line and its bit together; only when
// that fails too is the bit left alone.
TEST_F(StartupScriptFile, FailedMaskWriteAfterTheRewritePutsTheLineBack) {
  for (const bool putBackFails : {false, true}) {
    Batch({kP, kQ});
    Mark(kBitQ);
    m.faults.Clear();
    m.faults.Arm(Call::RecordFileWrite, 1, err::kPermissionDenied);
    if (putBackFails) m.faults.Arm(Call::FilesReplaceLines, 2, err::kPermissionDenied);
    try {
      perm.Forget('Q');
      ADD_FAILURE() << "no failure reached the caller";
    } catch (const MarkNotCleared& e) {
      EXPECT_EQ(e.Number(), err::kPermissionDenied);
      EXPECT_EQ(e.LineRestored(), !putBackFails);
    }
    EXPECT_EQ(BatchText(), putBackFails ? Join({kP}) : Join({kP, kQ}));
    EXPECT_EQ(m.StoredMask(), kInitialMask | kBitQ);
    EXPECT_TRUE(perm.ReadWhetherPermanent('Q'));
  }
}

TEST_F(StartupScriptFile, MissingBatchFileClearsTheBitAndSaysSo) {
  Mark(kBitQ | kBitN);
  SimulatedSubst subst{m};
  subst.Map('Q', "C:\\Work");
  ASSERT_TRUE(m.Load());
  const auto namesBefore = FileNames();
  m.Pick(ControlId::lstUsedLtrs, "Q:");
  m.dialogs.answers = {Answer::Yes};
  m.form.cmdRemove_Click();
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitN);
  EXPECT_EQ(FileNames(), namesBefore);  // nothing created
  ASSERT_GE(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body,
            "There is no subit.bat in your Startup folder, so it held no line for Q:.\r\n"
            "The letter Q is no longer marked permanent.");
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Information);
  EXPECT_EQ(m.dialogs.boxes[1].pointerWhenShown, MousePointer::Default);
}

TEST_F(StartupScriptFile, UnknownStartupFolderKeepsTheMask) {
  m.shell.startup.clear();
  Batch({kQ});
  Mark(kBitQ);
  try {
    perm.Forget('Q');
    FAIL() << "no failure reached the caller";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), err::kPathNotFound);
  }
  EXPECT_TRUE(perm.ReadWhetherPermanent('Q'));
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitQ);
}

TEST_F(StartupScriptFile, StartupFolderComesWithoutTrailingBackslash) {
  const std::string folder = m.shell.startup;
  m.shell.startup = folder + "\\";
  EXPECT_EQ(script.Folder(), folder);
  m.shell.startup = folder + std::string(1, '\0') + "junk";
  EXPECT_EQ(script.Folder(), folder);
  m.shell.startup.clear();
  EXPECT_EQ(script.Folder(), "");
}

struct CheckCase {
  const char* name;
  std::string letter;
  std::vector<std::string> lines;
  bool free;
};

class StartupScriptCheck : public StartupScriptFile,
                           public ::testing::WithParamInterface<CheckCase> {};

TEST_P(StartupScriptCheck, ListsOnlyALineOfTheLetter) {
  const CheckCase& c = GetParam();
  Batch(c.lines);
  EXPECT_EQ(script.Lists(m.BatchPath(), c.letter[0]), !c.free);
  EXPECT_EQ(script.Names(c.letter[0]), !c.free);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupScriptCheck,
                         ::testing::Values(CheckCase{"OtherLettersOnly", "Q", {kP, kR}, true},
                                           CheckCase{"LetterListed", "Q", {kP, kQ}, false},
                                           CheckCase{
                                               "LowerCaseLine", "Q", {"subst q: \"C:\\x\""}, false},
                                           CheckCase{"LowerCaseLetter", "q", {kQ}, false},
                                           CheckCase{"EchoOnIsNotN", "N", {"echo on"}, true},
                                           CheckCase{"ShortLines", "Q", {"", "subst", "rem"}, true},
                                           CheckCase{"EmptyFile", "Q", {}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
