#include <gtest/gtest.h>

#include "drives/letter_probe.h"
#include "drives/subst_runner.h"
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

TEST_F(Letters, LocalDriveCostsTwoSerialReads) {
  m.drives.Add('E', DriveType::Fixed, -77);
  m.form.CheckDriveSet();
  EXPECT_EQ(m.drives.serialQueries, 4);  // C and E, twice each
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "E:"}));
}

// The probe on its own: the lists it makes, the failures it reports, and the CD-ROM letters it
// records, which the window never shows.
class Probe : public Letters {
 protected:
  OsFamily family = OsFamily::W95;
  LetterProbe probe{m.drives};
};

// The same lists whether the system names its drives up front (only those are probed) or
// cannot say (every letter is).
class EveryLetter : public Probe, public ::testing::WithParamInterface<bool> {};

TEST_P(EveryLetter, LandsInExactlyOneListInLetterOrder) {
  const bool listKnown = GetParam();
  if (!listKnown) m.faults.ArmFrom(Call::DrivesLetters, 1, err::kDeviceUnavailable);
  m.drives.Add('A', DriveType::Removable, 1, false);  // a floppy drive without a disk
  m.drives.Add('D', DriveType::CdRom, 2);
  m.drives.Add('M', DriveType::Remote, 3);
  m.drives.Add('Z', DriveType::Remote, 4);
  const LetterLists lists = probe.List(family);
  EXPECT_EQ(lists.used, (std::vector<std::string>{"A:", "C:", "D:", "m:", "z:"}));
  ASSERT_EQ(lists.avail.size(), 21u);
  EXPECT_EQ(lists.avail.front(), "B:");
  EXPECT_EQ(lists.avail.back(), "Y:");
  EXPECT_EQ(m.drives.typeQueries, listKnown ? 5 : 26);
}

INSTANTIATE_TEST_SUITE_P(DriveListKnown, EveryLetter, ::testing::Bool());

TEST_F(Probe, TwoListingsInARowGiveTheSameLists) {
  m.drives.Add('D', DriveType::CdRom, 2);
  m.drives.Add('N', DriveType::Remote, 3);
  const LetterLists first = probe.List(family);
  const LetterLists second = probe.List(family);
  EXPECT_EQ(second.used, first.used);
  EXPECT_EQ(second.avail, first.avail);
}

// A drive another program is half way through making or removing fails its probe for a
// moment: only a letter that still fails once the listing is over is a failure to report.
TEST_F(Probe, AFailureOfAMomentIsNoFailure) {
  m.drives.Add('D', DriveType::Fixed, 7);
  m.faults.Arm(Call::DrivesType, 2, err::kPathFileAccess);  // D:, probed second after C:
  EXPECT_TRUE(probe.List(family).failures.empty());
  m.drives.Add('S', DriveType::Fixed, 8);
  m.drives.drives['S'].substFolder = "C:\\Data";
  m.drives.drives['S'].failNumber = err::kPathFileAccess;  // a virtual drive half made
  EXPECT_TRUE(probe.List(family).failures.empty());
  m.drives.Add('T', DriveType::Fixed);
  m.drives.drives['T'].failNumber = err::kPathFileAccess;  // a disk that fails for good
  const auto failures = probe.List(family).failures;
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].letter, 'T');
}

struct CdCase {
  OsFamily family;
  bool ready;
  bool recorded;
};

class CdLetters : public Probe, public ::testing::WithParamInterface<CdCase> {};

TEST_P(CdLetters, AreRecordedOnlyOn95FamilyWithADisc) {
  family = GetParam().family;
  m.drives.Add('G', DriveType::CdRom, 9, GetParam().ready);
  EXPECT_EQ(probe.List(family).used, (std::vector<std::string>{"C:", "G:"}));
  EXPECT_EQ(probe.IsRecordedCdRom('G'), GetParam().recorded);
  EXPECT_FALSE(probe.IsRecordedCdRom('C'));
}

INSTANTIATE_TEST_SUITE_P(Families, CdLetters,
                         ::testing::Values(CdCase{OsFamily::W95, true, true},
                                           CdCase{OsFamily::W95, false, false},
                                           CdCase{OsFamily::Nt, true, false},
                                           CdCase{OsFamily::Vista, true, false},
                                           CdCase{OsFamily::Failed, true, false},
                                           CdCase{OsFamily::Unknown, true, false}));

TEST_F(Probe, TwelveCdDrivesRecordTheFirstElevenWithoutAFailure) {
  for (char l = 'D'; l <= 'O'; ++l) m.drives.Add(l, DriveType::CdRom, l);
  const LetterLists lists = probe.List(family);
  EXPECT_TRUE(probe.IsRecordedCdRom('N'));
  EXPECT_FALSE(probe.IsRecordedCdRom('O'));
  EXPECT_TRUE(lists.failures.empty());
  EXPECT_EQ(lists.used.size(), 13u);
}

TEST_F(Probe, EachListingReplacesTheRecordedCdLetters) {
  m.drives.Add('D', DriveType::CdRom, 1);
  m.drives.Add('E', DriveType::CdRom, 2);
  probe.List(family);
  m.drives.drives.erase('D');
  probe.List(family);
  EXPECT_FALSE(probe.IsRecordedCdRom('D'));
  EXPECT_TRUE(probe.IsRecordedCdRom('E'));
}

// The runner's check of its one letter answers in use or free and records nothing.
TEST_F(Probe, RunnersCheckAnswersWithoutRecording) {
  SubstRunner runner(probe, m.drives, m.files, m.processes, m.shell);
  m.drives.Add('N', DriveType::Remote, 6);
  m.drives.Add('G', DriveType::CdRom, 7);
  probe.List(family);
  m.drives.drives.erase('G');
  m.drives.Add('H', DriveType::CdRom, 8);
  const int serialQueries = m.drives.serialQueries;
  EXPECT_EQ(runner.Run(SubstRequest::Map("H", "C:\\Work")).status, SubstStatus::InUse);
  EXPECT_EQ(runner.Run(SubstRequest::Map("N", "C:\\Work")).status, SubstStatus::InUse);
  EXPECT_EQ(m.drives.serialQueries, serialQueries);
  EXPECT_TRUE(probe.IsRecordedCdRom('G'));
  EXPECT_FALSE(probe.IsRecordedCdRom('H'));
  EXPECT_TRUE(m.processes.runs.empty());
}

TEST_F(Letters, UnexpectedFailureShowsItsNumberAndCountsAsUsed) {
  m.drives.Add('K', DriveType::Fixed, 1);
  m.drives.drives['K'].failNumber = 57;
  m.dialogs.onBox = [&](const Box&) { EXPECT_EQ(Used().size(), 2u) << "box before the lists"; };
  ASSERT_TRUE(m.Load());
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "57");
  EXPECT_EQ(m.dialogs.boxes[0].title, "Error Number:");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "K:"}));
  EXPECT_EQ(Free().size(), 24u);
}

TEST_F(Letters, RefreshAfterStartUpLeavesTheDataFileAlone) {
  m.InstallDataFile(kInitialMask | 4);
  ASSERT_TRUE(m.Load());
  const int opened = m.faults.Count(Call::FilesOpenRecords);
  m.drives.Add('E', DriveType::Fixed, 5);
  m.form.CheckDriveSet();
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "E:"}));
  EXPECT_EQ(m.faults.Count(Call::FilesOpenRecords), opened);
  EXPECT_EQ(m.StoredMask(), kInitialMask | 4);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST_F(Letters, FailureWhileListingStopsSilentlyKeepingWhatWasAdded) {
  m.faults.Arm(Call::ControlsListAdd, 4, 5);  // A:, B:, D: went in; E: fails
  m.form.CheckDriveSet();
  EXPECT_EQ(Free(), (std::vector<std::string>{"A:", "B:", "D:"}));
  EXPECT_TRUE(Used().empty());
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

// A drive made or removed by another program reaches the lists without a word; nothing is probed
// when the system's drive letters are those of the last listing, a pick that still stands is
// kept and one that is gone is forgotten.
TEST_F(Letters, DriveSetCheckRebuildsOnlyWhenTheLettersChanged) {
  m.drives.Add('E', DriveType::Fixed, 5);
  m.form.CheckDriveSet();
  m.Pick(ControlId::lstAvail, "K:");
  m.Pick(ControlId::lstUsedLtrs, "E:");
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
  m.form.cmdRemove_Click();
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].body, "You need to select a Virtual Drive Letter!");
}

// A network drive whose server is out of reach never answers its probe: the listing stops waiting
// for it at the bound, counts it as taken (as a local drive, since nothing says otherwise), and
// says nothing; the drive list names it by its letter alone. Once the server is back, the next
// listing has it whole.
TEST_F(Letters, ADriveThatNeverAnswersIsTakenUnnamedUntilItAnswers) {
  m.drives.Add('N', DriveType::Remote, 9);
  m.drives.drives['N'].label = "Projects";
  m.drives.drives['N'].answers = false;
  ASSERT_TRUE(m.Load());
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "N:"}));
  EXPECT_EQ(Free().size(), 24u);
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:", "n:"}));
  ASSERT_FALSE(m.drives.probeLimits.empty());
  for (const int limit : m.drives.probeLimits) EXPECT_EQ(limit, kDriveAnswerMs);

  m.drives.drives['N'].answers = true;
  m.drives.Add('E', DriveType::Fixed, 5);  // a drive change brings the next listing
  m.form.CheckDriveSet();
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_EQ(Used(), (std::vector<std::string>{"C:", "E:", "n:"}));
  EXPECT_EQ(m.controls.driveItems, (std::vector<std::string>{"c:", "e:", "n: [Projects]"}));
}

// One probe a listing: the type, both serial reads and the label all come from it, and the drive
// list's labels from the listing just made.
TEST_F(Letters, AListingAndTheDriveListAskEachDriveOnce) {
  m.drives.drives['C'].label = "System";
  m.drives.Add('N', DriveType::Remote, 9);
  m.drives.drives['N'].label = "Projects";
  ASSERT_TRUE(m.Load());
  const std::size_t probes = m.drives.probeLimits.size();
  const int types = m.drives.typeQueries;
  m.drives.Add('E', DriveType::Fixed, 5);
  m.form.CheckDriveSet();
  EXPECT_EQ(m.drives.probeLimits.size(), probes + 1);
  EXPECT_EQ(m.drives.typeQueries, types + 3);  // C, E and N
  EXPECT_EQ(m.controls.driveItems,
            (std::vector<std::string>{"c: [System]", "e:", "n: [Projects]"}));
}

}  // namespace
}  // namespace kestrane::fakes
