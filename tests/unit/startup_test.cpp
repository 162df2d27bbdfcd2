#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace kestrane::fakes {
namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override { m.StandardSetup(); }
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
  EXPECT_EQ(m.module.PermMask, kInitialMask | (1 << 16));
  EXPECT_EQ(m.module.DataFile, m.DataFilePath());
  EXPECT_EQ(m.form.sPath, m.DataFolder());
  EXPECT_EQ(m.module.Quote, "\"");
  EXPECT_EQ(m.controls.pointer, MousePointer::Default);
  EXPECT_EQ(m.controls.focus, ControlId::lstAvail);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST_F(Startup, WindowIsSizedAndCentred) {
  m.controls.window = {0, 0, 7140, 6000};
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.window, (TwipsRect{(15360 - 7140) / 2, (11520 - 5790) / 2, 7140, 5790}));
}

TEST_F(Startup, PathBoxShowsTheRootOfTheCurrentDrive) {
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.controls.Text(ControlId::txtPath), "C:\\");
  EXPECT_EQ(m.form.Hold, "C:\\");
}

struct MissingCase {
  const char* name;
  int status;
  bool removeFile;
};

class StartupEnds : public Startup, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(StartupEnds, WithMessage255AndNoWindow) {
  m.shell.appData.status = GetParam().status;
  if (GetParam().removeFile) m.files.files.erase(FakeFiles::Key(m.DataFilePath()));
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
                         ::testing::Values(MissingCase{"NoAppDataFolder", 1, false},
                                           MissingCase{"QueryFailed", 5, false},
                                           MissingCase{"NoDataFile", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, HiddenDataFileCountsAsPresent) {
  m.files.Find(m.DataFilePath())->hidden = true;
  EXPECT_TRUE(m.Load());
}

TEST_F(Startup, LockedDataFileStartsWithEmptyMask) {
  m.files.Find(m.DataFilePath())->locked = true;
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.module.PermMask, 0);
  EXPECT_EQ(m.controls.ListCount(ControlId::lstAvail), 25);
  EXPECT_EQ(m.controls.caption, "Kestrane - Pro");
}

TEST_F(Startup, MaskBitsAboveZAreKeptAsStored) {
  m.InstallDataFile(static_cast<std::int32_t>(0x48000001));
  ASSERT_TRUE(m.Load());
  EXPECT_EQ(m.module.PermMask, 0x48000001);
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

TEST_F(Startup, StepThatKeepsFailingIsGivenUpAfterThreeTries) {
  m.faults.ArmFrom(Call::ShellVersion, 1, 5);
  EXPECT_TRUE(m.Load());
  EXPECT_EQ(m.faults.Count(Call::ShellVersion), 3);
  EXPECT_EQ(m.module.OSFamily, "");
  EXPECT_EQ(m.controls.caption, "Kestrane - Pro");
}

struct VersionCase {
  unsigned long platform, major, minor;
  const char* family;
};

class OSFamilyTable : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OSFamilyTable, Decides) {
  const auto& c = GetParam();
  EXPECT_EQ(OSFamilyFor({c.platform, c.major, c.minor}), c.family);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OSFamilyTable,
    ::testing::Values(VersionCase{1, 4, 0, "W95"}, VersionCase{1, 4, 10, "W95"},
                      VersionCase{1, 4, 90, "W95"}, VersionCase{1, 4, 3, "Failed"},
                      VersionCase{2, 5, 1, "NT"}, VersionCase{2, 6, 0, "Vista"},
                      VersionCase{2, 6, 1, "Vista"}, VersionCase{2, 10, 0, "NT"},
                      VersionCase{2, 4, 0, "NT"}, VersionCase{0, 0, 0, "Failed"},
                      VersionCase{3, 10, 0, "Failed"}));

}  // namespace
}  // namespace kestrane::fakes
