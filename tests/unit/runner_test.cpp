#include <gtest/gtest.h>

#include "drives/subst_runner.h"
#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

class Runner : public ::testing::Test {
 protected:
  void SetUp() override { m.StandardSetup(); }
  SubstOutcome Create(const std::string& letter, const std::string& folder, bool hidden = false) {
    return runner.Run(SubstRequest::Map(letter, folder, hidden));
  }
  SubstOutcome Delete(const std::string& letter) {
    return runner.Run(SubstRequest::Delete(letter));
  }
  // The runner touches no control and shows nothing: its caller shows what the outcome calls for.
  void ExpectRefused(const SubstOutcome& outcome, SubstStatus status, Msg code) const {
    EXPECT_EQ(outcome.status, status);
    EXPECT_EQ(outcome.code, code);
    EXPECT_TRUE(m.dialogs.boxes.empty());
    EXPECT_TRUE(m.controls.texts.empty());
  }
  Machine m;
  SimulatedSubst subst{m};
  OsFamily family = OsFamily::Nt;
  LetterProbe probe{m.drives};
  SubstRunner runner{probe, m.drives, m.files, m.processes, m.shell};
};

TEST_F(Runner, CreateStartsTheExactLine) {
  const SubstOutcome outcome = Create("E", "C:\\Work");
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, kSubst + " E: \"C:\\Work\"");
  // In the system folder, never the current one, which may be the very folder being mapped.
  EXPECT_EQ(m.processes.runs[0].directory, m.shell.system);
  // A subst held up by a program slow to take its announcement is waited for, not failed.
  EXPECT_EQ(m.processes.runs[0].limitMs, 90000);
  EXPECT_TRUE(outcome.Done());
  EXPECT_TRUE(outcome.Ran());
  EXPECT_EQ(FakeFiles::Key(subst.mappings.at('E')), FakeFiles::Key("C:\\Work"));
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
  EXPECT_TRUE(Create("E", GetParam().folder).Done());
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, kSubst + " E: " + GetParam().argument);
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

TEST_F(Runner, DeleteStartsTheSlashDLineAndFreesTheLetter) {
  subst.Map('E', "C:\\Work");
  EXPECT_TRUE(Delete("E").Done());
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, kSubst + " E: /D");
  EXPECT_EQ(subst.mappings.count('E'), 0u);
}

TEST_F(Runner, LetterTakenMeanwhileIsInUseAndRunsNothing) {
  m.drives.Add('K', DriveType::Fixed, 9);
  ExpectRefused(Create("K", "C:\\Work"), SubstStatus::InUse, Msg::LetterInUse);
  EXPECT_TRUE(m.processes.runs.empty());
}

// Hidden folders count only for a request that says its folder was typed in hidden mode, and
// for every such request: the mode is the caller's to end.
TEST_F(Runner, HiddenFolderPassesForEveryHiddenRequestAndNoOther) {
  m.files.AddFolder("C:\\Work\\secret", true);
  EXPECT_TRUE(Create("E", "C:\\Work\\secret", true).Done());
  EXPECT_TRUE(Create("F", "C:\\Work\\secret", true).Done());
  ExpectRefused(Create("G", "C:\\Work\\secret"), SubstStatus::Refused, Msg::PathNotFound);
  EXPECT_EQ(m.processes.runs.size(), 2u);
}

TEST_F(Runner, MissingFolderIsRefused) {
  ExpectRefused(Create("E", "C:\\Gone", true), SubstStatus::Refused, Msg::PathNotFound);
  EXPECT_TRUE(m.processes.runs.empty());
}

TEST_F(Runner, UnreadableDriveCountsAsMissingFolder) {
  m.faults.Clear();
  m.faults.Arm(Call::FilesDirectoryExists, 1, err::kDiskNotReady);
  ExpectRefused(Create("E", "C:\\Work"), SubstStatus::Refused, Msg::PathNotFound);
  EXPECT_TRUE(m.processes.runs.empty());
}

struct CdCase {
  const char* name;
  OsVersion version;
  bool refused;
};

class RunnerCdCheck : public Runner, public ::testing::WithParamInterface<CdCase> {};

// The listing records the CD-ROM drives of the 95 family, whose folders cannot be mapped.
TEST_P(RunnerCdCheck, FolderOnACdDriveTheListingRecordedIsRefused) {
  m.drives.Add('G', DriveType::CdRom, 7);
  m.files.AddFolder("G:\\Disc");
  family = OsFamilyFor(GetParam().version);
  probe.List(family);
  const SubstOutcome outcome = Create("E", "g:\\Disc");
  if (GetParam().refused) {
    ExpectRefused(outcome, SubstStatus::Refused, Msg::CdRomOn95);
    EXPECT_TRUE(m.processes.runs.empty());
  } else {
    EXPECT_TRUE(outcome.Done());
  }
}

INSTANTIATE_TEST_SUITE_P(Families, RunnerCdCheck,
                         ::testing::Values(CdCase{"W95", {1, 4, 10}, true},
                                           CdCase{"NT", {2, 5, 1}, false},
                                           CdCase{"Vista", {2, 6, 0}, false},
                                           CdCase{"Failed", {3, 0, 0}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, ACdDriveGoneFromTheNextListingIsNoLongerRefused) {
  family = OsFamily::W95;
  m.drives.Add('G', DriveType::CdRom, 7);
  m.files.AddFolder("G:\\Disc");
  probe.List(family);
  m.drives.drives['G'].type = DriveType::Fixed;
  probe.List(family);
  EXPECT_TRUE(Create("E", "G:\\Disc").Done());
}

struct OutcomeCase {
  const char* name;
  ProcessOutcome run;
  SubstStatus status;
  Msg code;
  bool ran;
};

class RunnerOutcome : public Runner, public ::testing::WithParamInterface<OutcomeCase> {};

// A failure is never taken for success: only a subst that ended with 0 has mapped the letter. One
// still at work past the wait is no failure either: the window says so in words.
TEST_P(RunnerOutcome, AnythingButExitZeroIsNoSuccess) {
  m.processes.behaviour = [&](const FakeProcesses::Run&) {
    m.drives.Add('E', DriveType::Fixed, 3);  // whatever subst did before it failed
    return GetParam().run;
  };
  const SubstOutcome outcome = Create("E", "C:\\Work");
  ExpectRefused(outcome, GetParam().status, GetParam().code);
  EXPECT_EQ(outcome.Ran(), GetParam().ran);
  EXPECT_EQ(m.processes.runs.size(), 1u);  // never started twice
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunnerOutcome,
    ::testing::Values(
        OutcomeCase{
            "Refused", {true, true, 1}, SubstStatus::SubstFailed, Msg::UnknownFailure, true},
        OutcomeCase{"NegativeExit",
                    {true, true, 0xC0000135u},
                    SubstStatus::SubstFailed,
                    Msg::UnknownFailure,
                    true},
        OutcomeCase{"TimedOut", {true, false, 0}, SubstStatus::TimedOut, Msg::None, true},
        OutcomeCase{
            "NotStarted", {false, false, 0}, SubstStatus::NotStarted, Msg::UnknownFailure, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, StartFailureFromThePortIsNotStartedAndTheNextRequestWorks) {
  m.faults.Clear();
  m.faults.Arm(Call::ProcessesRunHidden, 1, err::kFileNotFound);
  ExpectRefused(Create("E", "C:\\Work"), SubstStatus::NotStarted, Msg::UnknownFailure);
  EXPECT_TRUE(Create("E", "C:\\Work").Done());
}

struct RefusalCase {
  const char* name;
  std::string letter;
  std::string folder;
  Msg code;
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
    ::testing::Values(RefusalCase{"NoLetter", "", "C:\\Work", Msg::NoLetter},
                      RefusalCase{"LowerCase", "e", "C:\\Work", Msg::NoLetter},
                      RefusalCase{"TwoLetters", "EF", "C:\\Work", Msg::NoLetter},
                      RefusalCase{"Digit", "1", "C:\\Work", Msg::NoLetter},
                      RefusalCase{"PastZ", "[", "C:\\Work", Msg::NoLetter},
                      RefusalCase{"LetterWithSwitch", "E: /D &", "C:\\Work", Msg::NoLetter},
                      RefusalCase{"NetworkShare", "E", "\\\\server\\share", Msg::NetworkDrive},
                      RefusalCase{"NoFolder", "E", "", Msg::NoPathSelected},
                      RefusalCase{"RelativeFolder", "E", "Work", Msg::PathNotFound},
                      RefusalCase{"QuoteInside", "E", "C:\\Work\\a\" & del x & \"",
                                  Msg::PathNotFound},
                      RefusalCase{"LineBreakInside", "E", "C:\\Work\r\nx", Msg::PathNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

// subst's refusal is then told as what it is: the letter is no virtual drive (any more).
TEST_F(Runner, DeleteOfAFreeLetterSkipsTheFolderChecksAndSubstAnswers) {
  family = OsFamily::W95;
  m.drives.Add('D', DriveType::CdRom, 7);  // the second character of "/D"
  probe.List(family);
  ExpectRefused(Delete("E"), SubstStatus::NotVirtual, Msg::None);
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, kSubst + " E: /D");
}

struct NetworkCase {
  const char* name;
  std::string text;
  Msg code;
};

class RunnerNetworkTarget : public Runner, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(RunnerNetworkTarget, RefusesWhatCannotBeMapped) {
  m.drives.Add('Z', DriveType::Remote, 5);
  m.drives.Add('G', DriveType::CdRom, 6);
  EXPECT_EQ(runner.WhyNotTarget(GetParam().text), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerNetworkTarget,
    ::testing::Values(NetworkCase{"Fixed", "C:\\Work", Msg::None},
                      NetworkCase{"LowerCaseFixed", "c:\\work", Msg::None},
                      NetworkCase{"CdRom", "G:\\", Msg::None},
                      NetworkCase{"NetworkDrive", "Z:\\share", Msg::NetworkDrive},
                      NetworkCase{"LowerCaseNetworkDrive", "z:\\share", Msg::NetworkDrive},
                      NetworkCase{"UncPath", "\\\\server\\share", Msg::NetworkDrive},
                      NetworkCase{"DriveGone", "Q:\\Work", Msg::PathNotFound},
                      NetworkCase{"Empty", "", Msg::NoPathSelected},
                      NetworkCase{"NoDrive", "Work", Msg::PathNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
