#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

constexpr std::int32_t kPQ = (1 << 15) | (1 << 16);
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
  // The listing writes `lines`; other commands go to the simulated subst.
  void ListingWrites(const std::vector<std::string>& lines) {
    auto simulated = m.processes.behaviour;
    m.processes.behaviour = [this, lines, simulated](const FakeProcesses::Run& run) {
      if (!run.captured) return simulated(run);
      m.processes.output = lines;
      return ProcessOutcome{true, true, 0};
    };
  }
  // The listing ends with `outcome`, having written part of a line.
  void ListingEnds(ProcessOutcome outcome) {
    auto simulated = m.processes.behaviour;
    m.processes.behaviour = [this, outcome, simulated](const FakeProcesses::Run& run) {
      if (!run.captured) return simulated(run);
      m.processes.output = {"P:\\: => C:\\Da"};
      return outcome;
    };
  }
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const auto& r : m.processes.runs) out.push_back(r.commandLine);
    return out;
  }
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
  EXPECT_TRUE(run.captured);
  EXPECT_EQ(run.commandLine, kSubst);
  EXPECT_EQ(run.directory, m.shell.system);
  EXPECT_EQ(run.limitMs, kCommandLimitMs);
  EXPECT_EQ(subst.mappings.size(), 2u);  // looking changes nothing
}

TEST_F(RestoreView, ViewWithNoMappingSaysSoWithTheExclamationIcon) {
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, "There are no assigned Virtual Drives");
  EXPECT_EQ(m.dialogs.boxes[1].title, "Assigned Virtual Drives");
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Exclamation);
}

TEST_F(RestoreView, ViewShowsOddLinesAsTheyAreButNoBlankOnes) {
  ListingWrites({"", "q:\\: => C:\\Data", "  ", "--- junk"});
  m.form.mnuView_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, "q:\\: => C:\\Data\r\n  \r\n--- junk\r\n");
}

TEST_F(RestoreView, ViewOfAnEmptyCaptureIsNoMapping) {
  ListingWrites({"", ""});
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
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst, kSubst + " P: /D", kSubst + " Q: /D"}));
  for (const auto& run : m.processes.runs) {
    EXPECT_EQ(run.directory, m.shell.system);
    EXPECT_EQ(run.limitMs, kCommandLimitMs);
  }
  EXPECT_TRUE(subst.mappings.empty());
  EXPECT_FALSE(m.files.TextOf(m.BatchPath()).has_value());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  // The lists were rebuilt after the removals.
  const auto avail = m.controls.Items(ControlId::lstAvail);
  EXPECT_NE(std::find(avail.begin(), avail.end(), "P:"), avail.end());
  EXPECT_NE(std::find(avail.begin(), avail.end(), "Q:"), avail.end());
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);  // no completion message
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

// What the user or another program wrote in subit.bat is theirs: only the letters' subst lines
// go, and the rest stays in its order.
TEST_F(RestoreView, RestoreKeepsEveryLineThatIsNotALetters) {
  MapPQ();
  m.files.AddText(m.BatchPath(),
                  "@echo off\r\nsubst P: \"C:\\Data\"\r\nnet use X: \\\\srv\\share\r\n\r\n"
                  "SUBST q: \"C:\\Work\"\r\nsubst /?\r\n");
  m.form.mnuRepair_Click();
  EXPECT_EQ(m.files.TextOf(m.BatchPath()),
            "@echo off\r\nnet use X: \\\\srv\\share\r\n\r\nsubst /?\r\n");
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
}

TEST_F(RestoreView, RestorePutsTheLinesBackWhenTheMaskCannotBeReset) {
  m.faults.Arm(Call::RecordFileWrite, 1, 70);
  m.form.mnuRepair_Click();
  ExpectRestoreChangedNothing();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body,
            "The list of permanent drives could not be reset; the permanent drives stay as they "
            "are.\r\nError 70: Permission denied");
}

TEST_F(RestoreView, RestoreWithNoMappingStillDeletesTheBatchFileAndResetsTheMask) {
  m.form.mnuRepair_Click();
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst}));
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
  ListingWrites({"", "q:\\: => C:\\Work", "1:\\: => C:\\X", " ", ":\\", "P:\\: => C:\\Data"});
  m.form.mnuRepair_Click();
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst, kSubst + " Q: /D", kSubst + " P: /D"}));
  EXPECT_TRUE(subst.mappings.empty());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
}

TEST_F(RestoreView, RestoreGoesOnWhenARemovalFails) {
  MapPQ();
  m.faults.Arm(Call::ProcessesRunHidden, 1, 70);  // the removal of P
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

// ---- a listing that cannot be had: both commands report it and change nothing

struct ListingCase {
  const char* name;
  std::function<void(RestoreView&)> arrange;
  std::string says;  // part of the report
};

void PrintTo(const ListingCase& c, std::ostream* os) { *os << c.name; }

std::vector<ListingCase> ListingCases() {
  return {
      {"NotStarted",
       [](RestoreView& t) {
         t.ListingEnds({false, false, 0});
       },
       "subst could not be started"},
      {"TooSlow",
       [](RestoreView& t) {
         t.ListingEnds({true, false, 0});
       },
       "90 seconds"},
      {"PipeFails", [](RestoreView& t) { t.m.faults.Arm(Call::ProcessesRunCaptured, 1, 70); },
       "Error 70: Permission denied"},
      {"NoSystemFolder", [](RestoreView& t) { t.m.shell.system.clear(); },
       "subst could not be started"},
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
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
}

INSTANTIATE_TEST_SUITE_P(Listing, ListingFails, ::testing::ValuesIn(ListingCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
