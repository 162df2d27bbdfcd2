// What a real machine brings at the edges: a subst held up by a slow program, a drive changed
// while a question is open, a virtual drive whose folder is gone, a second copy at the same
// moment, the shown drive going away, a start outside any drive letter.

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"

namespace kestrane::fakes {
namespace {

constexpr std::int32_t kBitS = 1 << ('S' - 'A');

class Edges : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    m.files.AddFolder("C:\\Data");
    subst.Map('S', "C:\\Data");
    ASSERT_TRUE(m.Load());
    m.dialogs.boxes.clear();
  }
  // S: is permanent: its line in subit.bat and its bit.
  void MakeSPermanent() {
    m.files.AddText(m.BatchPath(), "subst S: \"C:\\Data\"\r\n");
    m.InstallDataFile(kInitialMask | kBitS);
  }
  bool SHasLine() {
    return m.files.TextOf(m.BatchPath()).value_or("").find("S:") != std::string::npos;
  }
  bool SHasBit() const { return (m.StoredMask() & kBitS) != 0; }
  const Box& LastBox() const { return m.dialogs.boxes.back(); }
  Machine m;
  SimulatedSubst subst{m};
};

// subst held up past the wait by a program slow to take its announcement: the user is told it
// is still at work, never that it failed, and Make Permanent records only a drive that is there.
struct SlowCase {
  const char* name;
  void (frmQOR_Pro::*command)();
  bool driveArrives;  // subst finished its work while it was being waited for
  const char* says;
  bool recorded;
};

class SlowSubst : public Edges, public ::testing::WithParamInterface<SlowCase> {};

TEST_P(SlowSubst, IsToldInWordsAndRecordsOnlyADriveThatIsThere) {
  const SlowCase& c = GetParam();
  m.processes.behaviour = [&](const FakeProcesses::Run&) {
    if (c.driveArrives) subst.Map('K', "C:\\Data");
    return ProcessOutcome{true, false, 0};
  };
  m.Pick(ControlId::lstAvail, "K:");
  m.Choose("C:\\Data");
  m.dialogs.answers = {Answer::Ok};
  (m.form.*c.command)();
  EXPECT_EQ(LastBox().body.find(c.says), 0u) << LastBox().body;
  EXPECT_NE(LastBox().title, "ERROR!");
  EXPECT_EQ(LastBox().pointerWhenShown, MousePointer::Default);
  EXPECT_EQ(m.files.FileExists(m.BatchPath()), c.recorded);
  EXPECT_EQ((m.StoredMask() & 1 << ('K' - 'A')) != 0, c.recorded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlowSubst,
    ::testing::Values(
        SlowCase{"Add", &frmQOR_Pro::cmdOk_Click, false,
                 "subst has not finished with K: after 90 seconds.\r\nThe letter lists will show "
                 "what it did once it has.",
                 false},
        SlowCase{"MakePermanentDriveNotThere", &frmQOR_Pro::cmdDefault_Click, false,
                 "subst has not finished with K: after 90 seconds.\r\nK: was not made permanent.",
                 false},
        SlowCase{"MakePermanentDriveThere", &frmQOR_Pro::cmdDefault_Click, true,
                 "Operation Completed!", true}),
    [](const auto& info) { return std::string(info.param.name); });

// S: is removed elsewhere while "is permanent, ...?" is open: the command looks again and says
// what it finds instead of running subst for a letter that is gone.
struct GoneCase {
  const char* name;
  Answer answer;
  const char* says;
  bool keepsRecords;
};

class GoneUnderQuestion : public Edges, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(GoneUnderQuestion, SaysWhatItFinds) {
  MakeSPermanent();
  m.dialogs.answers = {GetParam().answer};
  m.dialogs.onBox = [&](const Box& box) {
    if (box.body.find("is permanent") == std::string::npos) return;
    subst.mappings.erase('S');
    m.drives.drives.erase('S');
  };
  m.Pick(ControlId::lstUsedLtrs, "S:");
  m.form.cmdRemove_Click();
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_EQ(LastBox().body, std::string("S: is no longer a virtual drive: it was removed "
                                        "meanwhile.\r\n") +
                                GetParam().says);
  EXPECT_EQ(LastBox().icon, Icon::Information);
  EXPECT_EQ(SHasLine(), GetParam().keepsRecords);
  EXPECT_EQ(SHasBit(), GetParam().keepsRecords);
  const auto free = m.controls.Items(ControlId::lstAvail);  // the lists followed
  EXPECT_NE(std::find(free.begin(), free.end(), "S:"), free.end());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GoneUnderQuestion,
    ::testing::Values(GoneCase{"Yes", Answer::Yes, "S: is no longer permanent either.", false},
                      GoneCase{"No", Answer::No,
                               "S: is still permanent: it comes back at the next logon.", true}),
    [](const auto& info) { return std::string(info.param.name); });

// G: stands for a folder that was deleted: the system still substitutes it, so it is in use.
TEST_F(Edges, AVirtualDriveWhoseFolderIsGoneIsInUseAndCanBeRemoved) {
  subst.Map('G', "C:\\Temp\\Proj");
  m.drives.drives['G'].failNumber = err::kDeviceUnavailable;
  m.form.CheckDriveSet();
  const auto used = m.controls.Items(ControlId::lstUsedLtrs);
  EXPECT_NE(std::find(used.begin(), used.end(), "G:"), used.end());
  m.Pick(ControlId::lstUsedLtrs, "G:");
  m.form.cmdRemove_Click();
  EXPECT_EQ(LastBox().body, "Operation Completed!");
  EXPECT_EQ(m.processes.runs.back().commandLine, kSubst + " G: /D");
}

// Two copies: every read and rewrite of the records happens while this copy holds them, and a
// clash that outlasts the wait is told as the files being in use, with nothing changed.
TEST_F(Edges, RecordsAreRewrittenOnlyWhileHeldAndAClashIsTheFilesInUse) {
  MakeSPermanent();
  m.files.writes.clear();
  m.dialogs.answers = {Answer::Yes};
  m.Pick(ControlId::lstUsedLtrs, "S:");
  m.form.cmdRemove_Click();
  ASSERT_FALSE(m.files.writes.empty());
  for (const auto& [file, held] : m.files.writes) EXPECT_TRUE(held) << file;

  MakeSPermanent();
  subst.Map('S', "C:\\Data");
  m.form.CheckDriveSet();
  m.files.leasedElsewhere = true;
  m.files.writes.clear();
  m.dialogs.answers = {Answer::Yes};
  m.Pick(ControlId::lstUsedLtrs, "S:");
  m.form.cmdRemove_Click();
  EXPECT_TRUE(m.files.writes.empty());
  EXPECT_NE(LastBox().body.find("Error 55: File already open"), std::string::npos)
      << LastBox().body;
  EXPECT_TRUE(SHasLine());
  EXPECT_TRUE(SHasBit());
}

// A permanent letter with no drive stands in the free list; Remove picked there forgets it.
TEST_F(Edges, APermanentLetterThatIsNotMappedIsForgottenWithoutSubst) {
  MakeSPermanent();
  subst.mappings.erase('S');
  m.drives.drives.erase('S');
  m.form.CheckDriveSet();
  m.dialogs.answers = {Answer::Yes};
  m.Pick(ControlId::lstAvail, "S:");
  m.form.cmdRemove_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "This drive letter, S, is permanent, do you want it removed permanently?");
  EXPECT_EQ(m.dialogs.boxes[1].body, "Operation Completed!");
  EXPECT_TRUE(m.processes.runs.empty());
  EXPECT_FALSE(SHasLine());
  EXPECT_FALSE(SHasBit());
}

// The drive the folder list shows goes away: the lists go back to the system drive's root.
TEST_F(Edges, RemovingTheShownDriveTakesTheListsBackToTheSystemDrive) {
  m.files.AddFolder("S:\\");
  m.Choose("S:\\");
  ASSERT_EQ(m.controls.Text(ControlId::txtPath), "S:\\");
  m.Pick(ControlId::lstUsedLtrs, "S:");
  m.form.cmdRemove_Click();
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\");
  EXPECT_EQ(m.controls.driveItems.at(static_cast<std::size_t>(m.controls.currentDriveItem))[0],
            'c');
  EXPECT_EQ(m.controls.folderRows.at(0).name, "C:\\");
}

// Explorer may start the program in a share's folder, which has no drive letter.
TEST(EdgesAtStart, OutsideAnyDriveLetterStartsOnTheSystemDrivesRoot) {
  Machine m;
  m.StandardSetup();
  m.files.currentDirectory = "\\\\server\\share\\Reports";
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\");
  EXPECT_EQ(m.controls.folderRows.at(0).name, "C:\\");
}

}  // namespace
}  // namespace kestrane::fakes
