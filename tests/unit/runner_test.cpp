#include "engine/runner.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    ASSERT_TRUE(m.Load());
    m.dialogs.boxes.clear();
  }
  SubstOutcome Create(const std::string& letter, const std::string& folder) {
    m.form.Hold = folder;
    return m.form.RunSubst(SubstRequest::Map(letter, folder));
  }
  SubstOutcome Delete(const std::string& letter) {
    return m.form.RunSubst(SubstRequest::Delete(letter));
  }
  std::vector<std::string> Used() const { return m.controls.Items(ControlId::lstUsedLtrs); }
  std::vector<std::string> Free() const { return m.controls.Items(ControlId::lstAvail); }
  bool Listed(const std::vector<std::string>& list, const std::string& entry) const {
    return std::count(list.begin(), list.end(), entry) == 1;
  }
  // The runner reports nothing itself: its caller shows what the outcome calls for.
  void ExpectRefused(const SubstOutcome& outcome, SubstStatus status, std::uint8_t code) const {
    EXPECT_EQ(outcome.status, status);
    EXPECT_EQ(outcome.code, code);
    EXPECT_TRUE(m.dialogs.boxes.empty());
  }
  Machine m;
  SimulatedSubst subst{m};
};

TEST_F(Runner, CreateStartsTheExactLineAndRebuildsTheLists) {
  const SubstOutcome outcome = Create("E", "C:\\Work");
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: \"C:\\Work\"");
  EXPECT_EQ(m.processes.runs[0].verb, "");
  EXPECT_EQ(m.processes.runs[0].limitMs, 10000);
  EXPECT_TRUE(outcome.Mapped());
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "E:"}));
  EXPECT_FALSE(Listed(Free(), "E:"));
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:", "e:"}));
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\Work");
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

struct ArgumentCase {
  const char* name;
  std::string folder;
  std::string argument;
};

class RunnerArgument : public Runner, public ::testing::WithParamInterface<ArgumentCase> {};

// Backslashes before the closing quote are doubled: a program's argument parser would otherwise
// read the quote as part of the folder.
TEST_P(RunnerArgument, QuotesTheFolderSoSubstReadsItBack) {
  m.files.AddFolder("C:\\Work\\a b");
  EXPECT_TRUE(Create("E", GetParam().folder).Mapped());
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: " + GetParam().argument);
  EXPECT_EQ(FakeFiles::Key(subst.mappings.at('E')), FakeFiles::Key(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RunnerArgument,
    ::testing::Values(ArgumentCase{"Plain", "C:\\Work", "\"C:\\Work\""},
                      ArgumentCase{"Blank", "C:\\Work\\a b", "\"C:\\Work\\a b\""},
                      ArgumentCase{"DriveRoot", "C:\\", "\"C:\\\\\""},
                      ArgumentCase{"ClosingBackslash", "C:\\Work\\", "\"C:\\Work\\\\\""},
                      ArgumentCase{"TwoClosingBackslashes", "C:\\Work\\\\",
                                   "\"C:\\Work\\\\\\\\\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, DriveListThatCannotBeRedrawnDoesNotTurnSuccessIntoFailure) {
  m.faults.Clear();
  m.faults.ArmFrom(Call::DrivesLetters, 1, err::kDeviceUnavailable);
  EXPECT_TRUE(Create("E", "C:\\Work").Mapped());
}

TEST_F(Runner, DeleteStartsTheSlashDLineAndFreesTheLetter) {
  subst.Map('E', "C:\\Work");
  m.form.RefreshLetters();
  EXPECT_TRUE(Delete("E").Mapped());
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: /D");
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:"}));
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:"}));
}

TEST_F(Runner, LetterTakenMeanwhileIsInUseAndRunsNothing) {
  m.drives.Add('K', DriveType::Fixed, 9);
  ExpectRefused(Create("K", "C:\\Work"), SubstStatus::InUse, kLetterInUse);
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(m.controls.pointer, MousePointer::Hourglass);  // the caller puts it back
}

TEST_F(Runner, HiddenFolderPassesOnceThenHiddenIsCleared) {
  m.files.AddFolder("C:\\Work\\secret", true);
  m.form.Hidden = true;
  EXPECT_TRUE(Create("E", "C:\\Work\\secret").Mapped());
  EXPECT_FALSE(m.form.Hidden);
  ExpectRefused(Create("F", "C:\\Work\\secret"), SubstStatus::Refused, kPathNotFound);
  EXPECT_EQ(m.processes.runs.size(), 1u);
}

TEST_F(Runner, MissingFolderIsRefusedAndClearsHidden) {
  m.form.Hidden = true;
  ExpectRefused(Create("E", "C:\\Gone"), SubstStatus::Refused, kPathNotFound);
  EXPECT_FALSE(m.form.Hidden);
  EXPECT_TRUE(m.processes.runs.empty());
}

TEST_F(Runner, UnreadableDriveCountsAsMissingFolder) {
  m.faults.Clear();
  m.faults.Arm(Call::FilesDirectoryExists, 1, err::kDiskNotReady);
  ExpectRefused(Create("E", "C:\\Work"), SubstStatus::Refused, kPathNotFound);
  EXPECT_TRUE(m.processes.runs.empty());
}

struct CdCase {
  const char* family;
  bool refused;
};

class RunnerCdCheck : public Runner, public ::testing::WithParamInterface<CdCase> {};

TEST_P(RunnerCdCheck, FolderOnARecordedCdDriveIsRefusedOffNt) {
  m.drives.Add('G', DriveType::CdRom, 7);
  m.files.AddFolder("G:\\Disc");
  m.module.OSFamily = GetParam().family;
  m.module.CdLetters = {'D', 'G'};
  const SubstOutcome outcome = Create("E", "g:\\Disc");
  if (GetParam().refused) {
    ExpectRefused(outcome, SubstStatus::Refused, kCdRomOn95);
    EXPECT_TRUE(m.processes.runs.empty());
    EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  } else {
    EXPECT_TRUE(outcome.Mapped());
  }
}

INSTANTIATE_TEST_SUITE_P(Families, RunnerCdCheck,
                         ::testing::Values(CdCase{"W95", true}, CdCase{"NT", false},
                                           CdCase{"Vista", true}, CdCase{"Failed", true}),
                         [](const auto& info) { return std::string(info.param.family); });

struct OutcomeCase {
  const char* name;
  ProcessOutcome run;
  SubstStatus status;
  bool listsRebuilt;
};

class RunnerOutcome : public Runner, public ::testing::WithParamInterface<OutcomeCase> {};

// A failure is never taken for success: only a subst that ended with 0 has mapped the letter.
TEST_P(RunnerOutcome, AnythingButExitZeroIsAnUnknownFailure) {
  m.processes.behaviour = [&](const FakeProcesses::Run&) {
    m.drives.Add('E', DriveType::Fixed, 3);  // whatever subst did before it failed
    return GetParam().run;
  };
  ExpectRefused(Create("E", "C:\\Work"), GetParam().status, kUnknownFailure);
  EXPECT_EQ(Listed(Used(), "E:"), GetParam().listsRebuilt);
  EXPECT_EQ(m.processes.runs.size(), 1u);  // never started twice
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunnerOutcome,
    ::testing::Values(
        OutcomeCase{"Refused", {true, true, 1}, SubstStatus::SubstFailed, true},
        OutcomeCase{"NegativeExit", {true, true, 0xC0000135u}, SubstStatus::SubstFailed, true},
        OutcomeCase{"TimedOut", {true, false, 0}, SubstStatus::TimedOut, true},
        OutcomeCase{"NotStarted", {false, false, 0}, SubstStatus::NotStarted, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, StartFailureFromThePortIsNotStartedAndTheNextRequestWorks) {
  m.faults.Clear();
  m.faults.Arm(Call::ProcessesRunHidden, 1, err::kFileNotFound);
  ExpectRefused(Create("E", "C:\\Work"), SubstStatus::NotStarted, kUnknownFailure);
  EXPECT_TRUE(Create("E", "C:\\Work").Mapped());
}

struct RefusalCase {
  const char* name;
  std::string letter;
  std::string folder;
  std::uint8_t code;
};

class RunnerRefuses : public Runner, public ::testing::WithParamInterface<RefusalCase> {};

// Nothing but a plain upper-case letter and a local folder that quotes safely reaches a command
// line.
TEST_P(RunnerRefuses, WithItsCodeAndRunsNothing) {
  const RefusalCase& c = GetParam();
  m.files.AddFolder("C:\\Work\\a\" & del x & \"");
  ExpectRefused(Create(c.letter, c.folder), SubstStatus::Refused, c.code);
  EXPECT_TRUE(m.processes.runs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerRefuses,
    ::testing::Values(RefusalCase{"NoLetter", "", "C:\\Work", kNoLetter},
                      RefusalCase{"LowerCase", "e", "C:\\Work", kNoLetter},
                      RefusalCase{"TwoLetters", "EF", "C:\\Work", kNoLetter},
                      RefusalCase{"Digit", "1", "C:\\Work", kNoLetter},
                      RefusalCase{"PastZ", "[", "C:\\Work", kNoLetter},
                      RefusalCase{"LetterWithSwitch", "E: /D &", "C:\\Work", kNoLetter},
                      RefusalCase{"NetworkShare", "E", "\\\\server\\share", kNetworkDrive},
                      RefusalCase{"NoFolder", "E", "", kNoPathSelected},
                      RefusalCase{"RelativeFolder", "E", "Work", kPathNotFound},
                      RefusalCase{"QuoteInside", "E", "C:\\Work\\a\" & del x & \"", kPathNotFound},
                      RefusalCase{"LineBreakInside", "E", "C:\\Work\r\nx", kPathNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, DeleteOfAFreeLetterSkipsTheFolderChecksAndSubstAnswers) {
  m.module.OSFamily = "W95";
  m.module.CdLetters = {'D'};  // the second character of "/D"
  m.form.Hold = "C:\\Gone";
  ExpectRefused(Delete("E"), SubstStatus::SubstFailed, kUnknownFailure);
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: /D");
}

struct NetworkCase {
  const char* name;
  std::string text;
  bool refused;
  std::uint8_t code;  // 0: no box
};

class RunnerNetworkTarget : public Runner, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(RunnerNetworkTarget, RefusesWhatCannotBeMapped) {
  m.drives.Add('Z', DriveType::Remote, 5);
  m.drives.Add('G', DriveType::CdRom, 6);
  m.controls.SetText(ControlId::txtPath, GetParam().text);
  EXPECT_EQ(m.form.IsNetworkTarget(), GetParam().refused);
  if (GetParam().code == 0) {
    EXPECT_TRUE(m.dialogs.boxes.empty());
  } else {
    ASSERT_EQ(m.dialogs.boxes.size(), 1u);
    const ErrorMessage expected = ErrorMessageFor(GetParam().code, "", "\"");
    EXPECT_EQ(m.dialogs.boxes[0].body, expected.body);
    EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
    EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerNetworkTarget,
    ::testing::Values(NetworkCase{"Fixed", "C:\\Work", false, 0},
                      NetworkCase{"LowerCaseFixed", "c:\\work", false, 0},
                      NetworkCase{"CdRom", "G:\\", false, 0},
                      NetworkCase{"NetworkDrive", "Z:\\share", true, kNetworkDrive},
                      NetworkCase{"LowerCaseNetworkDrive", "z:\\share", true, kNetworkDrive},
                      NetworkCase{"UncPath", "\\\\server\\share", true, kNetworkDrive},
                      NetworkCase{"DriveGone", "Q:\\Work", true, kPathNotFound},
                      NetworkCase{"Empty", "", true, kNoPathSelected},
                      NetworkCase{"NoDrive", "Work", true, kPathNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
