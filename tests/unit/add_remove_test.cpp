#include <gtest/gtest.h>

#include "drives/subst_runner.h"
#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

constexpr std::int32_t kBitP = 1 << 15;

class AddRemove : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\Data");
    subst.Map('E', "C:\\Work");
    subst.Map('P', "C:\\Data");
    m.drives.Add('Z', DriveType::Remote, 0x505A);
    ASSERT_TRUE(m.Load());
    m.controls.texts[ControlId::cmdCancel] = "&Cancel";
    m.dialogs.boxes.clear();
  }
  void Add(const std::string& entry, const std::string& folder) {
    m.Pick(ControlId::lstAvail, entry);
    m.Choose(folder);
    m.form.cmdOk_Click();
  }
  void Remove(const std::string& entry) {
    m.Pick(ControlId::lstUsedLtrs, entry);
    m.form.cmdRemove_Click();
  }
  std::vector<std::string> Lines() const {
    return const_cast<FakeFiles&>(m.files).ReadLines(m.BatchPath());
  }
  // P is permanent: its line stands between two others in subit.bat and its bit is set.
  void MakePPermanent() {
    m.files.AddText(
        m.BatchPath(),
        "subst E: \"C:\\Work\"\r\nsubst P: \"C:\\Data\"\r\nsubst R: \"C:\\Windows\"\r\n");
    m.InstallDataFile(kInitialMask | kBitP | 1 << 4);
  }
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const auto& r : m.processes.runs) out.push_back(r.commandLine);
    return out;
  }
  Machine m;
  SimulatedSubst subst{m};
};

TEST_F(AddRemove, AddMapsTheSelectedLetterToTheQuotedFolder) {
  std::vector<std::string> usedWhenDone;
  m.dialogs.onBox = [&](const Box&) { usedWhenDone = m.controls.Items(ControlId::lstUsedLtrs); };
  Add("K:", "C:\\Data");
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " K: \"C:\\Data\""}));
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\Data");
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);  // no question for a 7-character folder
  const Box& done = m.dialogs.boxes[0];
  EXPECT_EQ(done.body, "Operation Completed!");
  EXPECT_EQ(done.title, "Done!");
  EXPECT_EQ(done.buttons, Buttons::Ok);
  EXPECT_EQ(done.icon, Icon::None);
  EXPECT_EQ(done.pointerWhenShown, MousePointer::Default);
  // The lists were rebuilt before the box.
  EXPECT_NE(std::find(usedWhenDone.begin(), usedWhenDone.end(), "K:"), usedWhenDone.end());
}

TEST_F(AddRemove, AddPutsHoldBackOverWhatWasTypedIntoThePathBox) {
  m.controls.texts[ControlId::txtPath] = "C:\\Windows";
  Add("K:", "C:\\Data");
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " K: \"C:\\Data\""}));
}

struct RootCase {
  const char* name;
  Answer answer;
  bool runs;
};

class AddRootFolder : public AddRemove, public ::testing::WithParamInterface<RootCase> {};

TEST_P(AddRootFolder, AsksTheExactQuestionAndOnlyYesMaps) {
  m.dialogs.answers = {GetParam().answer};
  Add("M:", "c:\\");
  ASSERT_GE(m.dialogs.boxes.size(), 1u);
  const Box& q = m.dialogs.boxes[0];
  EXPECT_EQ(q.body,
            "It appears that you have selected a root folder (C:\\), \r\n"
            "are you sure? Now both C and M will point there.");
  EXPECT_EQ(q.title, "Are You Sure?");
  EXPECT_EQ(q.buttons, Buttons::YesNoCancel);
  EXPECT_EQ(q.icon, Icon::None);
  if (GetParam().runs) {
    // The closing backslash is doubled so that it does not escape the quote.
    EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " M: \"C:\\\\\""}));
    EXPECT_EQ(m.dialogs.boxes.size(), 2u);
  } else {
    EXPECT_TRUE(m.processes.runs.empty());
    EXPECT_EQ(m.dialogs.boxes.size(), 1u);
    EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Cancel");
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, AddRootFolder,
                         ::testing::Values(RootCase{"Yes", Answer::Yes, true},
                                           RootCase{"No", Answer::No, false},
                                           RootCase{"Cancel", Answer::Cancel, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddRemove, AddOfAFolderOnANetworkDriveIsCode12) {
  m.files.AddFolder("Z:\\Share");
  Add("K:", "Z:\\Share");
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "QOR does not work with network drives!");
  EXPECT_TRUE(m.processes.runs.empty());
}

TEST_F(AddRemove, AddWhenSubstIsMissingSaysSoAndTheProgramGoesOn) {
  m.faults.Clear();
  m.faults.ArmFrom(Call::ProcessesRunHidden, 1, err::kFileNotFound);
  Add("K:", "C:\\Data");
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "An unknown error occured, try your operation again!\r\n"
            "If the problem persists let us know.");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  EXPECT_FALSE(m.controls.ended);
}

struct NoLetterCase {
  const char* name;
  bool add;
  ControlId focus;
};

class NothingSelected : public AddRemove, public ::testing::WithParamInterface<NoLetterCase> {};

TEST_P(NothingSelected, IsCode3WithTheFocusOnTheList) {
  // A letter picked in the other list does not count.
  if (GetParam().add) {
    m.Pick(ControlId::lstUsedLtrs, "E:");
    m.form.cmdOk_Click();
  } else {
    m.Pick(ControlId::lstAvail, "K:");
    m.form.cmdRemove_Click();
  }
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "You need to select a Virtual Drive Letter!");
  EXPECT_EQ(m.controls.focus, GetParam().focus);
  EXPECT_TRUE(m.processes.runs.empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, NothingSelected,
                         ::testing::Values(NoLetterCase{"Add", true, ControlId::lstAvail},
                                           NoLetterCase{"Remove", false, ControlId::lstUsedLtrs}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddRemove, RemoveOfAnOrdinaryLetterDeletesAtOnce) {
  Remove("E:");
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " E: /D"}));
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].title, "Done!");
  EXPECT_EQ(m.controls.Text(ControlId::cmdCancel), "&Exit");
  const auto free = m.controls.Items(ControlId::lstAvail);
  EXPECT_NE(std::find(free.begin(), free.end(), "E:"), free.end());
}

TEST_F(AddRemove, RemoveOfANetworkDriveIsRefused) {
  Remove("z:");
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "This is a Network drive, it cannot be removed!");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Nothing to do!");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Information);
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(m.controls.focus, ControlId::cmdCancel);
  EXPECT_TRUE(m.processes.runs.empty());
}

struct PermanentCase {
  const char* name;
  Answer answer;
  bool deletes;
  bool unmarks;
};

class RemovePermanentLetter : public AddRemove,
                              public ::testing::WithParamInterface<PermanentCase> {};

TEST_P(RemovePermanentLetter, FollowsTheAnswer) {
  MakePPermanent();
  // What the startup file and the mask held when subst was started.
  std::vector<std::string> linesAtDeletion;
  std::int32_t maskAtDeletion = 0;
  auto subst = m.processes.behaviour;
  m.processes.behaviour = [&](const FakeProcesses::Run& run) {
    linesAtDeletion = Lines();
    maskAtDeletion = m.StoredMask();
    return subst(run);
  };
  m.dialogs.answers = {GetParam().answer};
  Remove("P:");

  ASSERT_GE(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "This drive letter, P, is permanent, do you want it removed permanently?");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Kestrane");
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::None);

  const std::vector<std::string> all{"subst E: \"C:\\Work\"", "subst P: \"C:\\Data\"",
                                     "subst R: \"C:\\Windows\""};
  const std::vector<std::string> withoutP{all[0], all[2]};
  const std::int32_t mask = kInitialMask | 1 << 4 | (GetParam().unmarks ? 0 : kBitP);
  EXPECT_EQ(Lines(), GetParam().unmarks ? withoutP : all);
  EXPECT_EQ(m.StoredMask(), mask);
  if (GetParam().deletes) {
    EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " P: /D"}));
    // The startup file and the mask were done with before the deletion ran.
    EXPECT_EQ(linesAtDeletion, Lines());
    EXPECT_EQ(maskAtDeletion, mask);
    EXPECT_EQ(m.dialogs.boxes.back().title, "Done!");
  } else {
    EXPECT_TRUE(m.processes.runs.empty());
    EXPECT_EQ(m.dialogs.boxes.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, RemovePermanentLetter,
                         ::testing::Values(PermanentCase{"Yes", Answer::Yes, true, true},
                                           PermanentCase{"No", Answer::No, true, false},
                                           PermanentCase{"Cancel", Answer::Cancel, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PermanenceCase {
  const char* name;
  std::int32_t storedBits;  // besides the initial mask, in the data file at the click
  bool line;                // subit.bat holds P's line
  bool asked;
};

class RemovePermanence : public AddRemove, public ::testing::WithParamInterface<PermanenceCase> {};

// Another copy of the program may have changed the data file since this one read it, and a line
// whose bit was lost still brings the drive back: the file and the line, as they are at the click,
// decide.
TEST_P(RemovePermanence, IsReadAtTheClick) {
  const PermanenceCase& c = GetParam();
  if (c.line) m.files.AddText(m.BatchPath(), "subst E: \"C:\\Work\"\r\nsubst P: \"C:\\Data\"\r\n");
  m.InstallDataFile(kInitialMask | c.storedBits);
  m.dialogs.answers = {Answer::Yes};
  Remove("P:");
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " P: /D"}));
  EXPECT_EQ(m.dialogs.boxes.front().body.starts_with("This drive letter, P, is permanent"),
            c.asked);
  // A Yes takes P's line and P's bit, and nothing else.
  if (c.line) {
    EXPECT_EQ(Lines(), (std::vector<std::string>{"subst E: \"C:\\Work\""}));
  }
  EXPECT_EQ(m.StoredMask(), kInitialMask | (c.storedBits & ~kBitP));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemovePermanence,
    ::testing::Values(PermanenceCase{"BitInTheFile", kBitP, true, true},
                      PermanenceCase{"BitClearedByAnotherCopy", 0, false, false},
                      PermanenceCase{"OtherCopysBitIsKept", kBitP | 1 << 7, true, true},
                      PermanenceCase{"LineWithoutItsBit", 1 << 4, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddRemove, PermanentLetterAIsAskedAboutLikeAnyOther) {
  subst.Map('A', "C:\\Data");
  m.form.CheckDriveSet();
  m.InstallDataFile(kInitialMask | 1);
  Remove("A:");
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body.rfind("This drive letter, A, is permanent", 0), 0u);
  EXPECT_TRUE(m.processes.runs.empty());  // Cancel by default
}

TEST_F(AddRemove, FailedStartupFileRewriteKeepsTheMappingAndTheMark) {
  MakePPermanent();
  const auto before = m.files.TextOf(m.BatchPath());
  m.files.Find(m.BatchPath())->locked = true;
  m.dialogs.answers = {Answer::Yes};
  Remove("P:");
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body,
            "The drive letter P could not be removed from your startup file.\r\n"
            "Error 70: Permission denied. The virtual drive was left as it is.");
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Critical);
  EXPECT_EQ(m.dialogs.boxes[1].pointerWhenShown, MousePointer::Default);
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(m.files.TextOf(m.BatchPath()), before);
  EXPECT_EQ(m.StoredMask(), kInitialMask | kBitP | 1 << 4);
  EXPECT_FALSE(m.controls.ended);
}

TEST_F(AddRemove, DoubleClicksRunAddAndRemoveWithTheClickedLetter) {
  m.Pick(ControlId::lstAvail, "K:");
  m.Choose("C:\\Data");
  m.form.lstAvail_DblClick();
  m.Pick(ControlId::lstUsedLtrs, "E:");
  m.form.lstUsedLtrs_DblClick();
  EXPECT_EQ(Commands(), (std::vector<std::string>{kSubst + " K: \"C:\\Data\"", kSubst + " E: /D"}));
}

// A subst that ends with success and makes no drive is not taken at its word by Make Permanent
// either: the box says the drive is not there, and nothing is recorded. (Add and Remove meet it
// end to end.)
TEST_F(AddRemove, MakePermanentRecordsNothingForASubstThatMadeNoDrive) {
  m.processes.behaviour = [](const FakeProcesses::Run&) { return ProcessOutcome{true, true, 0}; };
  m.Pick(ControlId::lstAvail, "K:");
  m.Choose("C:\\Data");
  m.form.cmdDefault_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body,
            "subst reported success, but the drive K: is not there.\r\n"
            "The folder was not given a drive letter.");
  EXPECT_EQ(m.dialogs.boxes[1].icon, Icon::Critical);
  EXPECT_FALSE(m.files.TextOf(m.BatchPath()).has_value());
  EXPECT_EQ(m.StoredMask(), kInitialMask);
}

}  // namespace
}  // namespace kestrane::fakes
