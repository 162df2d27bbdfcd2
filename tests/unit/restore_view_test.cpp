#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

constexpr std::int32_t kPQ = (1 << 15) | (1 << 16);
const std::string kCmd = "C:\\Windows\\system32\\CMD.exe";
const std::string kBatch = "subst P: \"C:\\Data\"\r\nsubst Q: \"C:\\Work\"\r\n";

class RestoreView : public ::testing::Test {
 public:  // the case tables arrange through the helpers
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\Data");
    m.InstallDataFile(kInitialMask | kPQ);
    m.files.AddText(m.BatchPath(), kBatch);
    ASSERT_TRUE(m.Load());
    m.dialogs.boxes.clear();
    m.faults.Clear();
  }
  void MapPQ() {
    subst.Map('P', "C:\\Data");
    subst.Map('Q', "C:\\Work");
    m.form.CheckDriveSet();
  }
  // The listing writes `text` as its capture; other commands go to the simulated subst.
  void CaptureWrites(const std::string& text) {
    auto simulated = m.processes.behaviour;
    m.processes.behaviour = [this, text, simulated](const FakeProcesses::Run& run) {
      if (run.commandLine != " /C subst.exe > temp") return simulated(run);
      m.files.AddText(run.directory + "temp", text);
      return ProcessOutcome{true, true, 0};
    };
  }
  // The listing ends with `outcome` after doing `act` (or nothing).
  void ListingEnds(ProcessOutcome outcome, std::function<void()> act = {}) {
    auto simulated = m.processes.behaviour;
    m.processes.behaviour = [outcome, act, simulated](const FakeProcesses::Run& run) {
      if (run.commandLine != " /C subst.exe > temp") return simulated(run);
      if (act) act();
      return outcome;
    };
  }
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const auto& r : m.processes.runs) out.push_back(r.commandLine);
    return out;
  }
  bool CaptureLeft() const { return m.files.Find(m.DataFolder() + "temp") != nullptr; }
  void ExpectRestoreChangedNothing() const {
    EXPECT_EQ(m.files.TextOf(m.BatchPath()), kBatch);
    EXPECT_EQ(m.StoredMask(), kInitialMask | kPQ);
  }

  Machine m;
  SimulatedSubst subst{m};
};

// ---- View

TEST_F(RestoreView, ViewNoticeIsExactAndCancelRunsNothing) {
  MapPQ();
  m.dialogs.answers = {Answer::Cancel};
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  const Box& notice = m.dialogs.boxes[0];
  EXPECT_EQ(notice.body, "This will list all of your Virtual Drives");
  EXPECT_EQ(notice.title, "View Virtual Drives");
  EXPECT_EQ(notice.buttons, Buttons::OkCancel);
  EXPECT_EQ(notice.icon, Icon::Information);
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

TEST_F(RestoreView, ViewListsEachMappingOnItsOwnLine) {
  MapPQ();
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  const Box& result = m.dialogs.boxes[1];
  EXPECT_EQ(result.body, "P:\\: => C:\\Data\r\nQ:\\: => C:\\Work\r\n");
  EXPECT_EQ(result.title, "Assigned Virtual Drives");
  EXPECT_EQ(result.buttons, Buttons::Ok);
  EXPECT_EQ(result.icon, Icon::None);
  EXPECT_EQ(result.pointerWhenShown, MousePointer::Default);
  ASSERT_EQ(m.processes.runs.size(), 1u);
  const auto& run = m.processes.runs[0];
  EXPECT_EQ(run.verb, "open");
  EXPECT_EQ(run.file, kCmd);
  EXPECT_EQ(run.commandLine, " /C subst.exe > temp");
  EXPECT_EQ(run.directory, m.DataFolder());
  EXPECT_EQ(run.limitMs, kCommandLimitMs);
  EXPECT_FALSE(CaptureLeft());
  EXPECT_EQ(subst.mappings.size(), 2u);  // looking changes nothing
}

TEST_F(RestoreView, ViewWithNoMappingSaysSoWithTheExclamationIcon) {
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, "There are no assigned Virtual Drives");
  EXPECT_EQ(m.dialogs.boxes[1].title, "Assigned Virtual Drives");
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Exclamation);
  EXPECT_FALSE(CaptureLeft());
}

TEST_F(RestoreView, ViewShowsOddLinesAsTheyAreButNoBlankOnes) {
  CaptureWrites("\r\nq:\\: => C:\\Data\r\n  \r\n--- junk\r\n");
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, "q:\\: => C:\\Data\r\n  \r\n--- junk\r\n");
}

TEST_F(RestoreView, ViewOfAnEmptyCaptureIsNoMapping) {
  CaptureWrites("\r\n\r\n");
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, "There are no assigned Virtual Drives");
}

// ---- Restore

TEST_F(RestoreView, RestoreConfirmationIsExactAndCancelChangesNothing) {
  MapPQ();
  m.dialogs.answers = {Answer::Cancel};
  m.form.mnuRepair_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  const Box& confirm = m.dialogs.boxes[0];
  EXPECT_EQ(confirm.body,
            "This will restore QOR to its initial state,\r\n"
            "i.e., remove all vitual drives, including\r\n"
            "permanent virtual drives for Pro users!");
  EXPECT_EQ(confirm.title, "Restore QOR");
  EXPECT_EQ(confirm.buttons, Buttons::OkCancel);
  EXPECT_EQ(confirm.icon, Icon::Exclamation);
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(subst.mappings.size(), 2u);
  ExpectRestoreChangedNothing();
}

TEST_F(RestoreView, RestoreRemovesPThenQDeletesTheBatchFileAndResetsTheMask) {
  MapPQ();
  m.form.mnuRepair_Click();
  EXPECT_EQ(Commands(), (std::vector<std::string>{" /C subst.exe > temp", " /C subst.exe P: /D",
                                                  " /C subst.exe Q: /D"}));
  for (const auto& run : m.processes.runs) {
    EXPECT_EQ(run.verb, "open");
    EXPECT_EQ(run.file, kCmd);
    EXPECT_EQ(run.directory, m.DataFolder());
    EXPECT_EQ(run.limitMs, kCommandLimitMs);
  }
  EXPECT_TRUE(subst.mappings.empty());
  EXPECT_FALSE(m.files.TextOf(m.BatchPath()).has_value());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_FALSE(CaptureLeft());
  // The lists were rebuilt after the removals.
  const auto avail = m.controls.Items(ControlId::lstAvail);
  EXPECT_NE(std::find(avail.begin(), avail.end(), "P:"), avail.end());
  EXPECT_NE(std::find(avail.begin(), avail.end(), "Q:"), avail.end());
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);  // no completion message
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

TEST_F(RestoreView, RestoreWithNoMappingStillDeletesTheBatchFileAndResetsTheMask) {
  m.form.mnuRepair_Click();
  EXPECT_EQ(Commands(), (std::vector<std::string>{" /C subst.exe > temp"}));
  EXPECT_FALSE(m.files.TextOf(m.BatchPath()).has_value());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
}

TEST_F(RestoreView, RestoreWithoutBatchFileCompletesNormally) {
  m.files.files.erase(FakeFiles::Key(m.BatchPath()));
  MapPQ();
  m.form.mnuRepair_Click();
  EXPECT_TRUE(subst.mappings.empty());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

TEST_F(RestoreView, RestoreWithoutStartupFolderStillResetsTheMask) {
  m.shell.startup.clear();
  m.form.mnuRepair_Click();
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
}

TEST_F(RestoreView, RestoreRemovesOnlyLinesThatBeginWithALetter) {
  MapPQ();
  CaptureWrites("\r\nq:\\: => C:\\Work\r\n1:\\: => C:\\X\r\n \r\n:\\\r\nP:\\: => C:\\Data\r\n");
  m.form.mnuRepair_Click();
  EXPECT_EQ(Commands(), (std::vector<std::string>{" /C subst.exe > temp", " /C subst.exe Q: /D",
                                                  " /C subst.exe P: /D"}));
  EXPECT_TRUE(subst.mappings.empty());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
}

TEST_F(RestoreView, RestoreGoesOnWhenARemovalFails) {
  MapPQ();
  m.faults.Arm(Call::ProcessesShellRun, 2, 70);  // the removal of P
  m.form.mnuRepair_Click();
  EXPECT_EQ(subst.mappings.count('P'), 1u);
  EXPECT_EQ(subst.mappings.count('Q'), 0u);
  EXPECT_EQ(m.StoredMask(), kInitialMask);
}

TEST_F(RestoreView, UndeletableBatchFileIsReportedAndTheMaskKept) {
  MapPQ();
  m.files.Find(m.BatchPath())->locked = true;
  m.form.mnuRepair_Click();
  EXPECT_TRUE(subst.mappings.empty());
  ExpectRestoreChangedNothing();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_NE(m.dialogs.boxes[1].body.find("subit.bat"), std::string::npos);
  EXPECT_NE(m.dialogs.boxes[1].body.find("Error 70: Permission denied"), std::string::npos);
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Critical);
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

// Checked before anything changes: a damaged file is neither reset nor padded.
TEST_F(RestoreView, DamagedDataFileIsMessage255AndChangesNothing) {
  MapPQ();
  m.files.Find(m.DataFilePath())->bytes.resize(kDataFileSize - 1);
  m.form.mnuRepair_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body.rfind("There is a missing or corrupt file!", 0), 0u);
  EXPECT_EQ(subst.mappings.size(), 2u);
  EXPECT_EQ(m.files.TextOf(m.BatchPath()), kBatch);
  EXPECT_EQ(m.files.Find(m.DataFilePath())->bytes.size(), kDataFileSize - 1);
}

TEST_F(RestoreView, UnwritableDataFileIsReported) {
  m.faults.Arm(Call::RecordFileWrite, 1, 70);
  m.form.mnuRepair_Click();
  EXPECT_EQ(m.StoredMask(), kInitialMask | kPQ);
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_NE(m.dialogs.boxes[1].body.find("Error 70"), std::string::npos);
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

// ---- a listing that cannot be had: both commands report it and change nothing

struct ListingCase {
  const char* name;
  std::function<void(RestoreView&)> arrange;
  std::string says;  // part of the report
};

void PrintTo(const ListingCase& c, std::ostream* os) { *os << c.name; }

std::vector<ListingCase> ListingCases() {
  return {
      {"CaptureMissing",
       [](RestoreView& t) {
         t.ListingEnds({true, true, 0});
       },
       "Error 53: File not found"},
      {"StaleCaptureFromAnEarlierRun",
       [](RestoreView& t) {
         t.m.files.AddText(t.m.DataFolder() + "temp", "P:\\: => C:\\Data\r\n");
         t.ListingEnds({true, true, 0});
       },
       "Error 53: File not found"},
      {"CaptureUnreadable",
       [](RestoreView& t) {
         // Something that is not a text file stands where the capture should be.
         t.ListingEnds({true, true, 0}, [&t] { t.m.files.AddFolder(t.m.DataFolder() + "temp"); });
       },
       "Error 75: Path/File access error"},
      {"InterpreterNotStarted",
       [](RestoreView& t) {
         t.ListingEnds({false, false, 0});
       },
       "could not be started"},
      {"InterpreterTooSlow",
       [](RestoreView& t) {
         t.ListingEnds({true, false, 0},
                       [&t] { t.m.files.AddText(t.m.DataFolder() + "temp", "P:\\: => C:\\Da"); });
       },
       "90 seconds"},
      {"InterpreterRefusedByTheShell",
       [](RestoreView& t) { t.m.faults.Arm(Call::ProcessesShellRun, 1, 76); },
       "Error 76: Path not found"},
      {"NoSystemFolder", [](RestoreView& t) { t.m.shell.system.clear(); },
       "command interpreter could not be found"},
  };
}

class ListingFails : public RestoreView, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(ListingFails, RestoreReportsItAndChangesNothing) {
  MapPQ();
  GetParam().arrange(*this);
  m.form.mnuRepair_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  const Box& report = m.dialogs.boxes[1];
  EXPECT_NE(report.body.find(GetParam().says), std::string::npos) << report.body;
  EXPECT_NE(report.body.find("Nothing was changed."), std::string::npos);
  EXPECT_EQ(report.title, "Restore QOR");
  EXPECT_EQ(report.icon, Icon::Critical);
  EXPECT_EQ(report.pointerWhenShown, MousePointer::Default);
  EXPECT_LE(m.processes.runs.size(), 1u);  // no removal
  EXPECT_EQ(subst.mappings.size(), 2u);
  ExpectRestoreChangedNothing();
  EXPECT_FALSE(CaptureLeft());
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

TEST_P(ListingFails, ViewReportsItInsteadOfAnEmptyList) {
  MapPQ();
  GetParam().arrange(*this);
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  const Box& report = m.dialogs.boxes[1];
  EXPECT_NE(report.body.find(GetParam().says), std::string::npos) << report.body;
  EXPECT_EQ(report.icon, Icon::Critical);
  EXPECT_FALSE(CaptureLeft());
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

INSTANTIATE_TEST_SUITE_P(Listing, ListingFails, ::testing::ValuesIn(ListingCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
