#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace kestrane::fakes {
namespace {

class Letters : public ::testing::Test {
 protected:
  void SetUp() override { m.StandardSetup(); }
  std::vector<std::string> Used() const { return m.controls.Items(ControlId::lstUsedLtrs); }
  std::vector<std::string> Free() const { return m.controls.Items(ControlId::lstAvail); }
  Machine m;
};

// The same lists whether the system names its drives up front (only those are probed) or
// cannot say (every letter is).
class EveryLetter : public Letters, public ::testing::WithParamInterface<bool> {};

TEST_P(EveryLetter, LandsInExactlyOneListInLetterOrder) {
  const bool listKnown = GetParam();
  if (!listKnown) m.faults.ArmFrom(Call::DrivesLetters, 1, err::kDeviceUnavailable);
  m.drives.Add('A', DriveType::Removable, 1, false);  // a floppy drive without a disk
  m.drives.Add('D', DriveType::CdRom, 2);
  m.drives.Add('M', DriveType::Remote, 3);
  m.drives.Add('Z', DriveType::Remote, 4);
  m.form.RefreshLetters();
  EXPECT_EQ(Used(), (std::vector<std::string>{"A:", "C:", "D:", "m:", "z:"}));
  ASSERT_EQ(Free().size(), 21u);
  EXPECT_EQ(Free().front(), "B:");
  EXPECT_EQ(Free().back(), "Y:");
  EXPECT_EQ(m.drives.typeQueries, listKnown ? 5 : 26);
}

INSTANTIATE_TEST_SUITE_P(DriveListKnown, EveryLetter, ::testing::Bool());

TEST_F(Letters, LocalDriveCostsTwoSerialReads) {
  m.drives.Add('E', DriveType::Fixed, -77);
  m.form.RefreshLetters();
  EXPECT_EQ(m.drives.serialQueries, 4);  // C and E, twice each
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "E:"}));
}

TEST_F(Letters, TwoRefreshesInARowGiveTheSameLists) {
  m.drives.Add('D', DriveType::CdRom, 2);
  m.drives.Add('N', DriveType::Remote, 3);
  m.form.RefreshLetters();
  const auto used = Used();
  const auto free = Free();
  m.form.RefreshLetters();
  EXPECT_EQ(Used(), used);
  EXPECT_EQ(Free(), free);
}

struct CdCase {
  const char* family;
  bool ready;
  bool recorded;
};

class CdLetters : public Letters, public ::testing::WithParamInterface<CdCase> {};

TEST_P(CdLetters, AreRecordedOnlyOn95FamilyWithADisc) {
  m.module.OSFamily = GetParam().family;
  m.drives.Add('G', DriveType::CdRom, 9, GetParam().ready);
  m.form.RefreshLetters();
  EXPECT_EQ(m.module.CdLetters[0] == 'G', GetParam().recorded);
  EXPECT_EQ(m.module.CdLetters[1], '\0');
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "G:"}));
}

INSTANTIATE_TEST_SUITE_P(Families, CdLetters,
                         ::testing::Values(CdCase{"W95", true, true}, CdCase{"W95", false, false},
                                           CdCase{"NT", true, false}, CdCase{"Vista", true, false},
                                           CdCase{"Failed", true, false}));

TEST_F(Letters, TwelveCdDrivesRecordTheFirstElevenWithoutABox) {
  m.module.OSFamily = "W95";
  for (char l = 'D'; l <= 'O'; ++l) m.drives.Add(l, DriveType::CdRom, l);
  m.form.RefreshLetters();
  EXPECT_EQ(m.module.CdLetters[10], 'N');
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_EQ(Used().size(), 13u);
}

TEST_F(Letters, EarlierPassesCdLettersAboveTheCountStay) {
  m.module.OSFamily = "W95";
  m.drives.Add('D', DriveType::CdRom, 1);
  m.drives.Add('E', DriveType::CdRom, 2);
  m.form.RefreshLetters();
  m.drives.drives.erase('D');
  m.form.RefreshLetters();
  EXPECT_EQ(m.module.CdLetters[0], 'E');
  EXPECT_EQ(m.module.CdLetters[1], 'E');
}

// The runner's check of its one letter answers in use or free and records nothing, but for a
// remote letter, which is appended all the same.
TEST_F(Letters, RunnersCheckAnswersWithoutRecording) {
  m.drives.Add('N', DriveType::Remote, 6);
  m.module.OSFamily = "W95";
  m.drives.Add('G', DriveType::CdRom, 7);
  m.form.RefreshLetters();
  const auto used = Used();
  const auto cdLetters = m.module.CdLetters;
  const int serialQueries = m.drives.serialQueries;
  EXPECT_EQ(m.form.RunSubst(SubstRequest::Map("G", "C:\\Work")).status, SubstStatus::InUse);
  EXPECT_EQ(Used(), used);
  EXPECT_EQ(m.module.CdLetters, cdLetters);
  EXPECT_EQ(m.drives.serialQueries, serialQueries);
  EXPECT_EQ(m.form.RunSubst(SubstRequest::Map("N", "C:\\Work")).status, SubstStatus::InUse);
  EXPECT_EQ(Used().back(), "n:");
  EXPECT_EQ(Used().size(), used.size() + 1);
}

TEST_F(Letters, UnexpectedFailureShowsItsNumberAndCountsAsUsed) {
  m.drives.Add('K', DriveType::Fixed, 1);
  m.drives.drives['K'].failNumber = 57;
  m.form.RefreshLetters();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "57");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Error Number:");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "K:"}));
  EXPECT_EQ(Free().size(), 24u);
}

TEST_F(Letters, RefreshAfterStartUpLeavesTheMaskAlone) {
  m.InstallDataFile(kInitialMask | 4);
  ASSERT_TRUE(m.Load());
  m.module.DataRec.LetterMask = 99;
  m.form.RefreshLetters();  // no data file is open now: the read fails silently
  EXPECT_EQ(m.module.DataRec.LetterMask, 99);
  EXPECT_EQ(m.module.PermMask, kInitialMask | 4);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST_F(Letters, FailureWhileListingStopsSilentlyKeepingWhatWasAdded) {
  m.faults.Arm(Call::ControlsListAdd, 4, 5);  // A:, B:, C: went in; D: fails
  m.form.RefreshLetters();
  EXPECT_EQ(Free(), (std::vector<std::string>{"A:", "B:"}));
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:"}));
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

// A drive made or removed by another program reaches the lists without a word; nothing is probed
// when the system's drive letters are those of the last listing, and a pick that still stands is
// kept.
TEST_F(Letters, DriveSetCheckRebuildsOnlyWhenTheLettersChanged) {
  m.drives.Add('E', DriveType::Fixed, 5);
  m.form.RefreshLetters();
  m.controls.Select(ControlId::lstAvail, "K:");
  m.controls.Select(ControlId::lstUsedLtrs, "E:");
  const int probes = m.drives.typeQueries;
  m.form.CheckDriveSet();
  EXPECT_EQ(m.drives.typeQueries, probes);
  m.drives.Add('G', DriveType::Fixed, 6);
  m.drives.Add('H', DriveType::Fixed, 7);
  m.drives.drives['H'].failNumber = 75;  // caught half made by another program
  m.drives.drives.erase('E');
  m.form.CheckDriveSet();
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "G:", "H:"}));
  EXPECT_TRUE(m.dialogs.boxes.empty());  // nobody asked for this listing
  EXPECT_EQ(m.controls.ListItem(ControlId::lstAvail, m.controls.ListIndex(ControlId::lstAvail)),
            "K:");
  EXPECT_EQ(m.controls.ListIndex(ControlId::lstUsedLtrs), -1);
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:", "g:", "h:"}));
}

}  // namespace
}  // namespace kestrane::fakes
