#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

constexpr std::int32_t kQ = 1 << 16;
const std::string kLineQ = "subst Q: \"C:\\Data\"";

class MakePermanent : public ::testing::Test {
 public:  // the case tables arrange the machine and the user's choices before start-up
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\Data");
    BeforeLoad();
    ASSERT_TRUE(m.Load());
    if (!folder.empty()) m.Choose(folder);
    m.Pick(list, entry);
    m.controls.texts[ControlId::cmdCancel] = "&Cancel";
    m.faults.Clear();
  }
  virtual void BeforeLoad() {}
  void Click() {
    m.dialogs.boxes.clear();
    m.form.cmdDefault_Click();
  }
  int DoneBoxes() const {
    int n = 0;
    for (const Box& b : m.dialogs.boxes) {
      if (b.body == "Operation Completed!" && b.title == "Done!") ++n;
    }
    return n;
  }
  std::optional<std::string> Batch() const { return m.files.TextOf(m.BatchPath()); }
  void ExpectNothingWritten() const {
    EXPECT_FALSE(Batch().has_value());
    EXPECT_EQ(m.StoredMask(), kInitialMask);
  }

  Machine m;
  SimulatedSubst subst{m};
  std::string folder = "C:\\Data";       // the folder the user chooses; empty: none
  ControlId list = ControlId::lstAvail;  // the list the user picks the entry from
  std::string entry = "Q:";
};

TEST_F(MakePermanent, NewLetterIsMappedWrittenAndMarkedWithOneDoneBox) {
  Click();
  EXPECT_EQ(subst.mappings.at('Q'), "C:\\Data");
  EXPECT_EQ(Batch(), kLineQ + "\r\n");
  EXPECT_EQ(m.StoredMask(), kInitialMask | kQ);
  EXPECT_EQ(DoneBoxes(), 1);
  EXPECT_EQ(m.dialogs.boxes.size(), 2u);  // the confirmation and the runner's box
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

TEST_F(MakePermanent, ConfirmationIsExactAndComesBeforeTheMapping) {
  m.dialogs.onBox = [&](const Box& b) {
    if (b.title == "Make Permanent?") {
      EXPECT_TRUE(m.processes.runs.empty());
    }
  };
  m.dialogs.answers = {Answer::Ok};
  m.form.cmdDefault_Click();
  m.dialogs.onBox = nullptr;
  ASSERT_FALSE(m.dialogs.boxes.empty());
  const Box& box = m.dialogs.boxes[0];
  EXPECT_EQ(box.body,
            "This feature will place a file in your Startup Folder!\r\n"
            "\r\n"
            "Save \"Q:\\\" as:  \"C:\\Data\"\r\n"
            "permanently?");
  EXPECT_EQ(box.title, "Make Permanent?");
  EXPECT_EQ(box.buttons, Buttons::OkCancel);
  EXPECT_EQ(box.icon, Icon::None);
}

TEST_F(MakePermanent, CancelChangesNothingButTheExitCaption) {
  m.files.AddText(m.BatchPath(), "subst P: \"C:\\Work\"\r\n");
  m.dialogs.answers = {Answer::Cancel};
  Click();
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(Batch(), "subst P: \"C:\\Work\"\r\n");
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
}

TEST_F(MakePermanent, LetterMappedEarlierGetsOneDoneBoxAtTheEnd) {
  subst.Map('Q', "C:\\Data");
  m.form.CheckDriveSet();
  m.Pick(ControlId::lstUsedLtrs, "Q:");
  Click();
  EXPECT_TRUE(m.processes.runs.empty());  // the runner leaves the mapping alone
  EXPECT_EQ(Batch(), kLineQ + "\r\n");
  EXPECT_EQ(m.StoredMask(), kInitialMask | kQ);
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(DoneBoxes(), 1);
  EXPECT_EQ(m.dialogs.boxes.back().title, "Done!");
  EXPECT_EQ(m.dialogs.boxes.back().icon, Icon::None);
  EXPECT_EQ(m.dialogs.boxes.back().pointerWhenShown, MousePointer::Default);
}

// Asked before anything runs: no mapping is made that the batch file would not bring back.
TEST_F(MakePermanent, LetterAlreadyInTheBatchFileIsRefusedWithCode1BeforeAnythingRuns) {
  const std::string before = "subst P: \"C:\\Work\"\r\nsubst Q: \"C:\\Other\"\r\n";
  m.files.AddText(m.BatchPath(), before);
  Click();
  EXPECT_EQ(Batch(), before);
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_TRUE(m.processes.runs.empty());
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, "This Letter, \"Q\", is already assigned to a Folder!");
  EXPECT_EQ(m.controls.focus, ControlId::lstAvail);
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
}

TEST_F(MakePermanent, FurtherLetterIsAppendedAfterTheOthers) {
  m.files.AddText(m.BatchPath(), "subst P: \"C:\\Work\"\r\n");
  m.InstallDataFile(kInitialMask | (1 << 15));
  Click();
  EXPECT_EQ(Batch(), "subst P: \"C:\\Work\"\r\n" + kLineQ + "\r\n");
  EXPECT_EQ(m.StoredMask(), kInitialMask | (1 << 15) | kQ);
}

TEST_F(MakePermanent, PercentSignsAreDoubledForTheCommandInterpreter) {
  m.files.AddFolder("C:\\100%\\%USERNAME%");
  m.Choose("C:\\100%\\%USERNAME%");
  Click();
  EXPECT_EQ(Batch(), "subst Q: \"C:\\100%%\\%%USERNAME%%\"\r\n");
  // The user is asked about the folder as it is.
  EXPECT_NE(m.dialogs.boxes[0].body.find("\"C:\\100%\\%USERNAME%\""), std::string::npos);
  EXPECT_EQ(m.StoredMask(), kInitialMask | kQ);
}

TEST_F(MakePermanent, DriveRootKeepsItsBackslashOnTheBatchLine) {
  m.Choose("C:\\");
  Click();
  // subst reads "C:\" as C: followed by a quote; doubled, the root survives the logon.
  EXPECT_EQ(Batch(), "subst Q: \"C:\\\\\"\r\n");
  EXPECT_EQ(m.StoredMask(), kInitialMask | kQ);
}

TEST_F(MakePermanent, FolderOutsideTheBatchCodePageIsRefusedBeforeAnythingRuns) {
  m.files.unencodable = "\xCE\xA9";  // Greek capital omega in UTF-8
  m.files.AddFolder("C:\\\xCE\xA9mega");
  m.Choose("C:\\\xCE\xA9mega");
  Click();
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_TRUE(subst.mappings.empty());
  ExpectNothingWritten();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_NE(m.dialogs.boxes[0].body.find("cannot be made permanent"), std::string::npos);
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
}

// ---- a letter in use already

struct InUseCase {
  const char* name;
  std::function<void(Machine&, SimulatedSubst&)> arrange;
  bool accepted;
};

class MakePermanentInUse : public MakePermanent, public ::testing::WithParamInterface<InUseCase> {
 public:
  void BeforeLoad() override {
    GetParam().arrange(m, subst);
    list = ControlId::lstUsedLtrs;
  }
};

// Taken as it is only where it stands for this very folder; otherwise the line would bring back
// something the drive table does not show.
TEST_P(MakePermanentInUse, IsTakenOnlyWhereItStandsForTheFolder) {
  Click();
  EXPECT_TRUE(m.processes.runs.empty());
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  if (GetParam().accepted) {
    EXPECT_EQ(Batch(), kLineQ + "\r\n");
    EXPECT_EQ(m.StoredMask(), kInitialMask | kQ);
    EXPECT_EQ(DoneBoxes(), 1);
  } else {
    EXPECT_EQ(m.dialogs.boxes[1].body, "This Letter, \"Q\", is in use!");
    ExpectNothingWritten();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, MakePermanentInUse,
    ::testing::Values(
        InUseCase{"SameFolder", [](Machine&, SimulatedSubst& s) { s.Map('Q', "C:\\Data"); }, true},
        InUseCase{"SameFolderOtherCase",
                  [](Machine&, SimulatedSubst& s) { s.Map('Q', "c:\\DATA\\"); }, true},
        InUseCase{"OtherFolder", [](Machine&, SimulatedSubst& s) { s.Map('Q', "C:\\Work"); },
                  false},
        InUseCase{"Disk",
                  [](Machine& mm, SimulatedSubst&) { mm.drives.Add('Q', DriveType::Fixed); },
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the checks before the confirmation

struct CheckCase {
  const char* name;
  std::function<void(MakePermanent&)> arrange;
  std::string body;
  bool focusesAvail;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class MakePermanentCheck : public MakePermanent, public ::testing::WithParamInterface<CheckCase> {
 public:
  void BeforeLoad() override { GetParam().arrange(*this); }
};

TEST_P(MakePermanentCheck, RefusesWithItsCodeAndDoesNothingElse) {
  m.controls.focus.reset();
  Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, GetParam().body);
  EXPECT_EQ(m.dialogs.boxes[0].title, "ERROR!");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_TRUE(m.processes.runs.empty());
  ExpectNothingWritten();
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Cancel");
  EXPECT_EQ(m.controls.focus == ControlId::lstAvail, GetParam().focusesAvail);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, MakePermanentCheck,
    ::testing::Values(CheckCase{"NoLetter", [](MakePermanent& t) { t.entry.clear(); },
                                "You need to select a Virtual Drive Letter!", true},
                      // The folder list could not show the start-up folder's drive.
                      CheckCase{"NoFolder",
                                [](MakePermanent& t) {
                                  t.folder.clear();
                                  t.m.faults.Arm(Call::FilesDirectoryExists, 1, err::kPathNotFound);
                                },
                                "No Path selected!", false},
                      CheckCase{"NetworkLetterFromUsedList",
                                [](MakePermanent& t) {
                                  t.m.drives.Add('Z', DriveType::Remote);
                                  t.list = ControlId::lstUsedLtrs;
                                  t.entry = "z:";
                                },
                                "QOR does not work with network drives!", false},
                      CheckCase{"FolderOnNetworkDrive",
                                [](MakePermanent& t) {
                                  t.m.drives.Add('N', DriveType::Remote);
                                  t.m.files.AddFolder("N:\\Share");
                                  t.folder = "N:\\Share";
                                },
                                "QOR does not work with network drives!", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the runner's failures: nothing is written for a mapping that was not made

struct RunnerCase {
  const char* name;
  std::function<void(MakePermanent&)> arrange;
  std::string body;
};

void PrintTo(const RunnerCase& c, std::ostream* os) { *os << c.name; }

class MakePermanentRunnerFails : public MakePermanent,
                                 public ::testing::WithParamInterface<RunnerCase> {
 public:
  void BeforeLoad() override { GetParam().arrange(*this); }
};

TEST_P(MakePermanentRunnerFails, WritesNothing) {
  Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, GetParam().body);
  EXPECT_EQ(DoneBoxes(), 0);
  EXPECT_TRUE(subst.mappings.empty());
  ExpectNothingWritten();
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

INSTANTIATE_TEST_SUITE_P(
    Runner, MakePermanentRunnerFails,
    ::testing::Values(RunnerCase{"FolderGoneWhileAsked",
                                 [](MakePermanent& t) {
                                   t.m.dialogs.onBox = [&t](const Box&) {
                                     t.m.files.folders.erase(FakeFiles::Key("C:\\Data"));
                                   };
                                 },
                                 "Path not found!"},
                      RunnerCase{"CdRomOnW95",
                                 [](MakePermanent& t) {
                                   t.m.shell.version = {1, 4, 10};
                                   t.m.drives.Add('D', DriveType::CdRom);
                                   t.m.files.AddFolder("D:\\Disc");
                                   t.folder = "D:\\Disc";
                                 },
                                 "CD ROM drives are not supported for the Windows 98 family!"},
                      RunnerCase{"SubstNotStarted",
                                 [](MakePermanent& t) {
                                   t.m.processes.behaviour = [](const FakeProcesses::Run&) {
                                     return ProcessOutcome{false, false, 0};
                                   };
                                 },
                                 "An unknown error occured, try your operation again!\r\n"
                                 "If the problem persists let us know."},
                      RunnerCase{"SubstRefused",
                                 [](MakePermanent& t) {
                                   t.m.processes.behaviour = [](const FakeProcesses::Run&) {
                                     return ProcessOutcome{true, true, 1};
                                   };
                                 },
                                 "An unknown error occured, try your operation again!\r\n"
                                 "If the problem persists let us know."}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the family and the Startup folder

class MakePermanentOnFailedFamily : public MakePermanent {
 public:
  void BeforeLoad() override { m.shell.version = {3, 0, 0}; }
};

TEST_F(MakePermanentOnFailedFamily, HidesTheButtonAndWritesNothing) {
  Click();
  EXPECT_FALSE(m.controls.Visible(ControlId::cmdDefault));
  ASSERT_FALSE(m.dialogs.boxes.empty());
  EXPECT_EQ(m.dialogs.boxes.back().body,
            "This feature is not supported at this\r\ntime on your Operating System.");
  ExpectNothingWritten();
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
}

TEST_F(MakePermanent, UnknownStartupFolderIsCode2AndWritesNothing) {
  m.shell.startup.clear();
  Click();
  EXPECT_TRUE(m.controls.Visible(ControlId::cmdDefault));
  EXPECT_EQ(m.dialogs.boxes.back().body,
            "This feature is not supported at this\r\ntime on your Operating System.");
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
}

// Checked before the mapping: a damaged file is neither padded nor made anew.
TEST_F(MakePermanent, DamagedDataFileIsMessage255BeforeAnythingRuns) {
  m.files.Find(m.DataFilePath())->bytes.push_back(0);
  Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body.rfind("There is a missing or corrupt file!", 0), 0u);
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_FALSE(Batch().has_value());
  EXPECT_EQ(m.files.Find(m.DataFilePath())->bytes.size(), kDataFileSize + 1);
}

// Deleted by someone else between the check and the write of the bit: the write does not make a
// new file, and the user gets the missing-file box.
TEST_F(MakePermanent, DataFileGoneBeforeTheBitIsMissingAndNotMadeAnew) {
  auto simulated = m.processes.behaviour;
  m.processes.behaviour = [this, simulated](const FakeProcesses::Run& run) {
    m.files.files.erase(FakeFiles::Key(m.DataFilePath()));
    return simulated(run);
  };
  Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body.rfind("There is a missing or corrupt file!", 0), 0u);
  EXPECT_EQ(m.files.Find(m.DataFilePath()), nullptr);
  EXPECT_FALSE(Batch().has_value());
}

// ---- the error policy, by number, at each step that touches a file

struct PolicyCase {
  Call call;
  int number;
  bool ends;         // the command ends with a box naming the number
  bool lineWritten;  // subit.bat holds Q's line afterwards
};

std::string PolicyName(const ::testing::TestParamInfo<PolicyCase>& info) {
  return std::string(NameOf(info.param.call)) + "_" + std::to_string(info.param.number);
}

void PrintTo(const PolicyCase& c, std::ostream* os) {
  *os << NameOf(c.call) << " fails with " << c.number;
}

class MakePermanentPolicy : public MakePermanent,
                            public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(MakePermanentPolicy, EndsOrCarriesOnByNumber) {
  const PolicyCase& p = GetParam();
  const std::string before = "subst P: \"C:\\Work\"\r\n";
  m.files.AddText(m.BatchPath(), before);
  m.faults.Arm(p.call, 1, p.number);
  Click();
  EXPECT_EQ(Batch(), p.lineWritten ? before + kLineQ + "\r\n" : before);
  const bool bitSet = !p.ends;
  EXPECT_EQ(m.StoredMask(), bitSet ? kInitialMask | kQ : kInitialMask);
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
  ASSERT_FALSE(m.dialogs.boxes.empty());
  const Box& last = m.dialogs.boxes.back();
  if (p.ends) {
    // Told once, and only what is true: a failure after the mapping leaves it for this session.
    const bool mappedFirst = p.call == Call::FilesAppendLine || p.call == Call::FilesOpenRecords ||
                             p.call == Call::RecordFileRead || p.call == Call::RecordFileWrite;
    EXPECT_EQ(DoneBoxes(), 0);
    EXPECT_EQ(subst.mappings.count('Q'), mappedFirst ? 1u : 0u);
    EXPECT_EQ(last.body.rfind("Error " + std::to_string(p.number) + ": ", 0), 0u) << last.body;
    EXPECT_TRUE(last.body.ends_with(
        mappedFirst ? "\r\nThe drive Q: was made for this session only and is not permanent."
                    : "\r\nThe drive could not be made permanent."))
        << last.body;
    EXPECT_EQ(last.icon, Icon::Critical);
    EXPECT_EQ(last.buttons, Buttons::Ok);
    EXPECT_EQ(m.controls.focus, ControlId::lstAvail);
    EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  } else {
    EXPECT_EQ(DoneBoxes(), 1);
  }
}

// The append fails and so does taking the bit back: the user is still told the drive is not
// permanent, with the append's number, and the batch file is as it was.
TEST_F(MakePermanent, AppendFailingWhileTheBitCannotBeTakenBackStillEndsWithTheAppendsBox) {
  const std::string before = "subst P: \"C:\\Work\"\r\n";
  m.files.AddText(m.BatchPath(), before);
  m.faults.Arm(Call::FilesAppendLine, 1, 70);
  m.faults.Arm(Call::RecordFileWrite, 2, 71);
  Click();
  EXPECT_EQ(Batch(), before);
  EXPECT_EQ(m.StoredMask(), kInitialMask | kQ);
  ASSERT_FALSE(m.dialogs.boxes.empty());
  EXPECT_EQ(m.dialogs.boxes.back().body.rfind("Error 70: ", 0), 0u);
}

std::vector<PolicyCase> PolicyCases() {
  std::vector<PolicyCase> cases;
  for (int n : {68, 69, 70, 71, 75, 76}) {
    cases.push_back({Call::ShellStartupFolder, n, true, false});
    cases.push_back({Call::FilesFileExists, n, true, false});
    cases.push_back({Call::FilesReadLines, n, true, false});
    cases.push_back({Call::FilesAppendLine, n, true, false});
    cases.push_back({Call::FilesOpenRecords, n, true, false});
    cases.push_back({Call::RecordFileRead, n, true, false});
    cases.push_back({Call::RecordFileWrite, n, true, false});
  }
  // Other numbers carry on where the next steps can do without the failed one...
  for (int n : {52, 53, 62}) {
    cases.push_back({Call::FilesFileExists, n, false, true});
    cases.push_back({Call::FilesReadLines, n, false, true});
  }
  // ...and end the command where they cannot: no bit without its line (the bit is taken back),
  // no line without its bit, no file name without a Startup folder.
  for (int n : {52, 57, 61}) {
    cases.push_back({Call::ShellStartupFolder, n, true, false});
    cases.push_back({Call::FilesAppendLine, n, true, false});
    cases.push_back({Call::RecordFileWrite, n, true, false});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Steps, MakePermanentPolicy, ::testing::ValuesIn(PolicyCases()),
                         PolicyName);

}  // namespace
}  // namespace kestrane::fakes
