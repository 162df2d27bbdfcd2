#include "engine/runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "fakes/fakes.h"
#include "subst_fake.h"

namespace kestrane::fakes {
namespace {

const std::vector<std::string> kDoneOnly{"Operation Completed!"};

class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    ASSERT_TRUE(m.Load());
    BehaveLikeSubst(m);
    m.dialogs.boxes.clear();
  }
  void Create(const std::string& letter, const std::string& folder) {
    m.form.Ltr = letter;
    m.form.Hold = folder;
    m.form.Path = "\"" + folder + "\"";
    m.form.RunSubst();
  }
  void Delete(const std::string& letter) {
    m.form.Ltr = letter;
    m.form.Path = "/D";
    m.form.RunSubst();
  }
  std::vector<std::string> Used() const { return m.controls.Items(ControlId::lstUsedLtrs); }
  std::vector<std::string> Free() const { return m.controls.Items(ControlId::lstAvail); }
  // The one box shown, which must be the numbered error of that code.
  void ExpectOnlyError(std::uint8_t code) const {
    ASSERT_EQ(m.dialogs.boxes.size(), 1u);
    EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
    if (code == kCdRomOn95) {
      EXPECT_EQ(m.dialogs.boxes[0].title, "Wrong Operating System");
    } else {
      EXPECT_EQ(m.dialogs.boxes[0].title, "ERROR!");
    }
    const std::map<int, std::string> starts{
        {3, "You need to select"}, {4, "No Path selected!"}, {5, "Path not found!"},
        {6, "This Letter, "},      {10, "CD ROM drives"},    {11, "An unknown error occured"},
        {12, "QOR does not work"}};
    EXPECT_EQ(m.dialogs.boxes[0].body.rfind(starts.at(code), 0), 0u) << m.dialogs.boxes[0].body;
    EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  }
  Machine m;
};

TEST_F(Runner, CreateStartsTheExactLineWaitsAndReportsDone) {
  std::vector<std::string> usedWhenDone;
  m.dialogs.onBox = [&](const Box&) { usedWhenDone = Used(); };
  Create("E", "C:\\Work");
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: \"C:\\Work\"");
  EXPECT_EQ(m.processes.runs[0].verb, "");
  EXPECT_EQ(m.processes.runs[0].limitMs, 10000);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "Operation Completed!");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Done!");
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::None);
  EXPECT_EQ(m.dialogs.boxes[0].pointerWhenShown, MousePointer::Default);
  // The lists were rebuilt before the box, and the drive list after it.
  EXPECT_EQ(usedWhenDone, (std::vector<std::string>{"C:", "E:"}));
  const auto free = Free();
  EXPECT_EQ(std::count(free.begin(), free.end(), "E:"), 0);
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:", "e:"}));
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\Work");
  EXPECT_EQ(m.clock.slept, 0);  // seeing subst end makes a fixed pause pointless
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
  Create("E", GetParam().folder);
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: " + GetParam().argument);
  EXPECT_EQ(m.dialogs.boxes.at(0).title, "Done!");
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
  m.faults.ArmFrom("Drives.Letters", 1, err::kDeviceUnavailable);
  Create("E", "C:\\Work");
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].title, "Done!");
}

TEST_F(Runner, DeleteStartsTheSlashDLineAndFreesTheLetter) {
  m.drives.Add('E', DriveType::Fixed, 9);
  Delete("E");
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: /D");
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:"}));
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:"}));
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].title, "Done!");
}

TEST_F(Runner, LetterTakenMeanwhileIsCode6NamingIt) {
  m.drives.Add('K', DriveType::Fixed, 9);
  Create("K", "C:\\Work");
  ExpectOnlyError(kLetterInUse);
  EXPECT_EQ(m.dialogs.boxes[0].body, "This Letter, \"K\", is in use!");
  EXPECT_TRUE(m.processes.runs.empty());
}

TEST_F(Runner, MakingPermIsConsumedSilentlyWhenTheLetterIsMapped) {
  m.drives.Add('K', DriveType::Fixed, 9);
  m.module.MakingPerm = true;
  Create("K", "C:\\Work");
  EXPECT_FALSE(m.module.MakingPerm);
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(m.controls.pointer, MousePointer::Hourglass);  // the caller puts it back
}

TEST_F(Runner, MakingPermIsKeptWhenTheRunnerMapsTheLetter) {
  m.module.MakingPerm = true;
  Create("K", "C:\\Work");
  EXPECT_TRUE(m.module.MakingPerm);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].title, "Done!");
}

TEST_F(Runner, HiddenFolderPassesOnceThenHiddenIsCleared) {
  m.files.AddFolder("C:\\Work\\secret", true);
  m.form.Hidden = true;
  Create("E", "C:\\Work\\secret");
  EXPECT_FALSE(m.form.Hidden);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].title, "Done!");
  m.dialogs.boxes.clear();
  Create("F", "C:\\Work\\secret");
  ExpectOnlyError(kPathNotFound);
  EXPECT_EQ(m.processes.runs.size(), 1u);
}

TEST_F(Runner, MissingFolderIsCode5AndClearsHidden) {
  m.form.Hidden = true;
  Create("E", "C:\\Gone");
  ExpectOnlyError(kPathNotFound);
  EXPECT_FALSE(m.form.Hidden);
  EXPECT_TRUE(m.processes.runs.empty());
}

TEST_F(Runner, UnreadableDriveCountsAsMissingFolder) {
  m.faults.Clear();
  m.faults.Arm("Files.DirectoryExists", 1, err::kDiskNotReady);
  Create("E", "C:\\Work");
  ExpectOnlyError(kPathNotFound);
  EXPECT_TRUE(m.processes.runs.empty());
}

struct CdCase {
  const char* family;
  bool refused;
};

class RunnerCdCheck : public Runner, public ::testing::WithParamInterface<CdCase> {};

TEST_P(RunnerCdCheck, FolderOnARecordedCdDriveIsCode10OffNt) {
  m.drives.Add('G', DriveType::CdRom, 7);
  m.files.AddFolder("G:\\Disc");
  m.module.OSFamily = GetParam().family;
  m.module.CdLetters = {'D', 'G'};
  Create("E", "g:\\Disc");
  if (GetParam().refused) {
    ExpectOnlyError(kCdRomOn95);
    EXPECT_EQ(m.dialogs.boxes[0].body,
              "CD ROM drives are not supported for the Windows 98 family!");
    EXPECT_TRUE(m.processes.runs.empty());
  } else {
    ASSERT_EQ(m.processes.runs.size(), 1u);
    EXPECT_EQ(m.dialogs.boxes.at(0).title, "Done!");
  }
}

INSTANTIATE_TEST_SUITE_P(Families, RunnerCdCheck,
                         ::testing::Values(CdCase{"W95", true}, CdCase{"NT", false},
                                           CdCase{"Vista", true}, CdCase{"Failed", true}),
                         [](const auto& info) { return std::string(info.param.family); });

struct OutcomeCase {
  const char* name;
  ProcessOutcome outcome;
  bool listsRebuilt;
};

class RunnerOutcome : public Runner, public ::testing::WithParamInterface<OutcomeCase> {};

// A failure is never shown as success: only a subst that ended with 0 earns "Done!".
TEST_P(RunnerOutcome, AnythingButExitZeroIsCode11) {
  m.processes.behaviour = [&](const FakeProcesses::Run&) {
    m.drives.Add('E', DriveType::Fixed, 3);  // whatever subst did before it failed
    return GetParam().outcome;
  };
  Create("E", "C:\\Work");
  ExpectOnlyError(kUnknownFailure);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "An unknown error occured, try your operation again!\r\n"
            "If the problem persists let us know.");
  const auto used = Used();
  const bool listed = std::count(used.begin(), used.end(), "E:") == 1;
  EXPECT_EQ(listed, GetParam().listsRebuilt);
  EXPECT_EQ(m.processes.runs.size(), 1u);  // never started twice
  EXPECT_FALSE(m.controls.ended);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, RunnerOutcome,
                         ::testing::Values(OutcomeCase{"Refused", {true, true, 1}, true},
                                           OutcomeCase{
                                               "NegativeExit", {true, true, 0xC0000135u}, true},
                                           OutcomeCase{"TimedOut", {true, false, 0}, true},
                                           OutcomeCase{"NotStarted", {false, false, 0}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, StartFailureFromThePortIsCode11AndTheProgramGoesOn) {
  m.faults.Clear();
  m.faults.Arm("Processes.RunHidden", 1, err::kFileNotFound);
  Create("E", "C:\\Work");
  ExpectOnlyError(kUnknownFailure);
  EXPECT_FALSE(m.controls.ended);
  m.dialogs.boxes.clear();
  Create("E", "C:\\Work");  // and the next request works
  EXPECT_EQ(m.dialogs.boxes.at(0).title, "Done!");
}

struct RefusalCase {
  const char* name;
  std::string letter;
  std::string hold;
  std::string path;  // empty: the quoted hold
  std::uint8_t code;
};

class RunnerRefuses : public Runner, public ::testing::WithParamInterface<RefusalCase> {};

// Nothing but a plain upper-case letter and a quoted local folder reaches a command line.
TEST_P(RunnerRefuses, WithItsCodeAndRunsNothing) {
  const RefusalCase& c = GetParam();
  m.files.AddFolder("C:\\Work\\a\" & del x & \"");
  m.form.Ltr = c.letter;
  m.form.Hold = c.hold;
  m.form.Path = c.path.empty() ? "\"" + c.hold + "\"" : c.path;
  m.form.RunSubst();
  ExpectOnlyError(c.code);
  EXPECT_TRUE(m.processes.runs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerRefuses,
    ::testing::Values(
        RefusalCase{"NoLetter", "", "C:\\Work", "", kNoLetter},
        RefusalCase{"LowerCase", "e", "C:\\Work", "", kNoLetter},
        RefusalCase{"TwoLetters", "EF", "C:\\Work", "", kNoLetter},
        RefusalCase{"Digit", "1", "C:\\Work", "", kNoLetter},
        RefusalCase{"PastZ", "[", "C:\\Work", "", kNoLetter},
        RefusalCase{"LetterWithSwitch", "E: /D &", "C:\\Work", "", kNoLetter},
        RefusalCase{"NetworkShare", "E", "\\\\server\\share", "", kNetworkDrive},
        RefusalCase{"NoFolder", "E", "", "", kNoPathSelected},
        RefusalCase{"RelativeFolder", "E", "Work", "", kPathNotFound},
        RefusalCase{"UnquotedArgument", "E", "C:\\Work", "C:\\Work", kPathNotFound},
        RefusalCase{"QuoteInside", "E", "C:\\Work\\a\" & del x & \"", "", kPathNotFound},
        RefusalCase{"LineBreakInside", "E", "C:\\Work", "\"C:\\Work\r\nx\"", kPathNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Runner, DeleteOfAFreeLetterSkipsTheFolderChecksAndReportsTheRefusal) {
  m.module.OSFamily = "W95";
  m.module.CdLetters = {'D'};  // the second character of "/D"
  m.form.Hold = "C:\\Gone";
  Delete("E");
  ASSERT_EQ(m.processes.runs.size(), 1u);
  EXPECT_EQ(m.processes.runs[0].commandLine, "subst.exe E: /D");
  ExpectOnlyError(kUnknownFailure);
}

struct NetworkCase {
  const char* name;
  std::string text;
  bool refused;
  int code;  // 0: no box
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
    ExpectOnlyError(static_cast<std::uint8_t>(GetParam().code));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerNetworkTarget,
    ::testing::Values(NetworkCase{"Fixed", "C:\\Work", false, 0},
                      NetworkCase{"LowerCaseFixed", "c:\\work", false, 0},
                      NetworkCase{"CdRom", "G:\\", false, 0},
                      NetworkCase{"NetworkDrive", "Z:\\share", true, 12},
                      NetworkCase{"LowerCaseNetworkDrive", "z:\\share", true, 12},
                      NetworkCase{"UncPath", "\\\\server\\share", true, 12},
                      NetworkCase{"DriveGone", "Q:\\Work", true, 5},
                      NetworkCase{"Empty", "", true, 4}, NetworkCase{"NoDrive", "Work", true, 5}),
    [](const auto& info) { return std::string(info.param.name); });

struct PauseCase {
  const char* name;
  double seconds;
  std::int64_t sleptMs;
};

class RunnerPause : public Runner, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(RunnerPause, ReturnsJustAfterMoreThanTheTimeHasPassed) {
  m.clock.slept = 0;
  m.form.Pause(GetParam().seconds);
  EXPECT_EQ(m.clock.slept, GetParam().sleptMs);
}

INSTANTIATE_TEST_SUITE_P(Cases, RunnerPause,
                         ::testing::Values(PauseCase{"TwoSeconds", 2, 2001},
                                           PauseCase{"OneAndAHalf", 1.5, 1501},
                                           PauseCase{"Zero", 0, 1}, PauseCase{"Negative", -3, 1},
                                           PauseCase{"NotANumber", std::nan(""), 1},
                                           PauseCase{"Huge", 1e30, 86400001}),
                         [](const auto& info) { return std::string(info.param.name); });

// A clock that sometimes wakes early still gives the full wait.
TEST_F(Runner, PauseSleepsAgainAfterAnEarlyWakeUp) {
  struct EarlyClock : FakeClock {
    void SleepMs(std::int64_t ms) override {
      ++sleeps;
      FakeClock::SleepMs(ms > 100 ? ms / 2 : ms);
    }
    int sleeps = 0;
  } clock;
  Ports ports{m.controls, m.dialogs, m.drives, m.files, m.processes, m.shell, clock};
  frmQOR_Pro form(ports, m.module);
  const std::int64_t start = clock.now;
  form.Pause(2);
  EXPECT_EQ(clock.now - start, 2001);
  EXPECT_GT(clock.sleeps, 1);
}

}  // namespace
}  // namespace kestrane::fakes
