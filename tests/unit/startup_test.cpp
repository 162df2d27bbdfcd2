#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "permanent/data_file.h"

namespace kestrane::fakes {
namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override { m.StandardSetup(); }
  // Whether Remove takes a virtual drive for permanent while the data file cannot be read: the
  // mask read at start-up then stands in for it.
  bool LoadedMaskHolds(char letter) {
    m.drives.Add(letter, DriveType::Fixed, 0x51);
    m.drives.drives[letter].substFolder = "C:\\Work";
    m.form.CheckDriveSet();
    m.Pick(ControlId::lstUsedLtrs, std::string(1, letter) + ":");
    m.files.Find(m.DataFilePath())->locked = true;
    m.dialogs.answers = {Answer::Cancel};
    const std::size_t shown = m.dialogs.boxes.size();
    m.form.cmdRemove_Click();
    return m.dialogs.boxes.size() > shown &&
           m.dialogs.boxes[shown].body.find("is permanent") != std::string::npos;
  }
  Machine m;
};

TEST_F(Startup, ReadyWindowHasTitleListsMaskAndFocus) {
  m.drives.Add('D', DriveType::CdRom, 77);
  m.drives.Add('Z', DriveType::Remote, 5);
  m.InstallDataFile(kInitialMask | (1 << 16));
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.caption, "Kestrane - Pro");
  EXPECT_EQ(m.controls.Items(ControlId::lstUsedLtrs), (std::vector<std::string>{"C:", "D:", "z:"}));
  EXPECT_EQ(m.controls.ListCount(ControlId::lstAvail), 23);
  EXPECT_EQ(m.controls.ListItem(ControlId::lstAvail, 0), "A:");
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  EXPECT_EQ(m.controls.focus, ControlId::lstAvail);
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_TRUE(LoadedMaskHolds('Q'));
}

TEST_F(Startup, WindowIsSizedAndCentred) {
  m.controls.window = {0, 0, 7140, 6000};
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.window, (TwipsRect{(15360 - 7140) / 2, (11520 - 5790) / 2, 7140, 5790}));
}

TEST_F(Startup, PathBoxShowsTheRootOfTheCurrentDrive) {
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\");
}

struct MissingCase {
  const char* name;
  int status;
  int size = static_cast<int>(kDataFileSize);  // the data file's size; -1: there is none
};

class StartupEnds : public Startup, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(StartupEnds, WithMessage255AndNoWindow) {
  m.shell.appData.status = GetParam().status;
  if (GetParam().size < 0) m.files.files.erase(FakeFiles::Key(m.DataFilePath()));
  if (GetParam().size >= 0) m.files.Find(m.DataFilePath())->bytes.resize(GetParam().size);
  EXPECT_FALSE(m.form.Form_Load());
  EXPECT_TRUE(m.controls.ended);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].title, "ERROR!");
  EXPECT_EQ(m.dialogs.boxes[0].body,
            "There is a missing or corrupt file! Remove and reinstall the software, \r\n"
            "if the problem persists e-mail us at support@kestrane.example!");
  EXPECT_EQ(m.dialogs.boxes[0].icon, Icon::Critical);
  EXPECT_EQ(m.dialogs.boxes[0].buttons, Buttons::Ok);
  EXPECT_EQ(m.controls.caption, "Kestrane");
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupEnds,
                         ::testing::Values(MissingCase{"NoAppDataFolder", 1},
                                           MissingCase{"QueryFailed", 5},
                                           MissingCase{"NoDataFile", 0, -1},
                                           MissingCase{"ShortDataFile", 0, kRecordLength},
                                           MissingCase{"LongDataFile", 0, kRecordLength * 2 + 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, HiddenDataFileCountsAsPresent) {
  m.files.Find(m.DataFilePath())->hidden = true;
  EXPECT_TRUE(m.Load());
}

TEST_F(Startup, LockedDataFileStartsWithEmptyMask) {
  m.InstallDataFile(kInitialMask | (1 << 16));
  m.files.Find(m.DataFilePath())->locked = true;
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.ListCount(ControlId::lstAvail), 25);
  EXPECT_EQ(m.controls.caption, "Kestrane - Pro");
  EXPECT_FALSE(LoadedMaskHolds('Q'));
}

// What start-up reads: the mask as stored, bits above Z included.
TEST_F(Startup, MaskBitsAboveZAreKeptAsStored) {
  m.InstallDataFile(static_cast<std::int32_t>(0x48000001));
  DataFile data(m.files);
  data.SetPath(m.DataFilePath());
  data.Load();
  EXPECT_EQ(data.PermMask(), 0x48000001);
}

TEST_F(Startup, StepFailingInTheSkipSetIsSkipped) {
  m.faults.Arm(Call::ShellAppDataFolder, 1, err::kPermissionDenied);
  // Without the folder the data file is not found at the path that remains.
  EXPECT_FALSE(m.form.Form_Load());
  EXPECT_EQ(m.dialogs.boxes.size(), 1u);
}

TEST_F(Startup, OtherFailureIsTriedAgain) {
  m.faults.Arm(Call::ShellAppDataFolder, 1, 5);
  EXPECT_TRUE(m.Load());
  EXPECT_EQ(m.faults.Count(Call::ShellAppDataFolder), 2);
}

// A version that never answers leaves the family unknown, which is not the family of a system
// Make Permanent refuses.
TEST_F(Startup, StepThatKeepsFailingIsGivenUpAfterThreeTries) {
  m.shell.version = {3, 0, 0};  // no known family, were it ever read
  m.faults.ArmFrom(Call::ShellVersion, 1, 5);
  EXPECT_TRUE(m.Load());
  EXPECT_EQ(m.faults.Count(Call::ShellVersion), 3);
  EXPECT_EQ(m.controls.caption, "Kestrane - Pro");
  m.Choose("C:\\Work");
  m.Pick(ControlId::lstAvail, "E:");
  m.form.cmdDefault_Click();
  EXPECT_TRUE(m.controls.Visible(ControlId::cmdDefault));
}

struct VersionCase {
  unsigned long platform, major, minor;
  OsFamily family;
};

class OSFamilyTable : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OSFamilyTable, Decides) {
  const auto& c = GetParam();
  EXPECT_EQ(OsFamilyFor({c.platform, c.major, c.minor}), c.family);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OSFamilyTable,
    ::testing::Values(VersionCase{1, 4, 0, OsFamily::W95}, VersionCase{1, 4, 10, OsFamily::W95},
                      VersionCase{1, 4, 90, OsFamily::W95}, VersionCase{1, 4, 3, OsFamily::Failed},
                      VersionCase{2, 5, 1, OsFamily::Nt}, VersionCase{2, 6, 0, OsFamily::Vista},
                      VersionCase{2, 6, 1, OsFamily::Vista}, VersionCase{2, 10, 0, OsFamily::Nt},
                      VersionCase{2, 4, 0, OsFamily::Nt}, VersionCase{0, 0, 0, OsFamily::Failed},
                      VersionCase{3, 10, 0, OsFamily::Failed}));

}  // namespace
}  // namespace kestrane::fakes
