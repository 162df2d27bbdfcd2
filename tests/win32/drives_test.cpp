#include <gtest/gtest.h>

#include <algorithm>

#include "expect_file_error.h"
#include "test_folder.h"
#include "win32/platform/win32_drives.h"

#if KESTRANE_HAVE_WINE_MOUNT
#include "wine_mount.h"
#endif

namespace kestrane::win32 {
namespace {

bool HasDrive(char letter) { return (GetLogicalDrives() >> (letter - 'A')) & 1; }

TEST(DrivesTest, ALetterWithoutADriveIsDeviceUnavailable) {
  Win32Drives drives;
  ASSERT_FALSE(HasDrive('W')) << "the Wine prefix has a W: drive";
  EXPECT_FILE_ERROR(drives.Type('W'), err::kDeviceUnavailable);
  EXPECT_FILE_ERROR(drives.SerialNumber('W'), err::kDeviceUnavailable);
  EXPECT_FILE_ERROR(drives.Type('1'), err::kDeviceUnavailable);
  EXPECT_EQ(drives.Label('W'), "");
  const std::vector<char> letters = drives.Letters();
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'W'), 0);
}

TEST(DrivesTest, TheSystemDriveIsFixedWithASerialNumber) {
  Win32Drives drives;
  EXPECT_EQ(drives.Type('C'), DriveType::Fixed);
  EXPECT_EQ(drives.Type('c'), DriveType::Fixed);
  DWORD serial = 0;
  ASSERT_TRUE(GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(drives.SerialNumber('C'), static_cast<std::int32_t>(serial));
  const std::vector<char> letters = drives.Letters();
  EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'C'), 1);
}

#if KESTRANE_HAVE_WINE_MOUNT

// Gives a letter a drive of a type for the length of a test; each test uses its own letter so
// that tests run side by side do not meet.
class MountedDrive {
 public:
  MountedDrive(wchar_t letter, UINT type, const std::wstring& folder) : letter_(letter) {
    wine_mount::RemoveDrive(letter_);
    result_ = wine_mount::DefineDrive(letter_, type, folder);
  }
  MountedDrive(const MountedDrive&) = delete;
  MountedDrive& operator=(const MountedDrive&) = delete;
  ~MountedDrive() { wine_mount::RemoveDrive(letter_); }
  DWORD Result() const { return result_; }

 private:
  wchar_t letter_;
  DWORD result_ = 0;
};

struct MountCase {
  char letter;
  UINT win32Type;
  DriveType type;
  const char* name;
};

void PrintTo(const MountCase& c, std::ostream* os) { *os << c.letter << ": " << c.name; }

class MountedDriveTest : public testing::TestWithParam<MountCase> {
 protected:
  test::TestFolder root;
  Win32Drives drives;
};

TEST_P(MountedDriveTest, ReportsItsTypeAndSerialThenGoesAwayWhenRemoved) {
  const MountCase c = GetParam();
  root.MakeFile(L"marker.txt", "x");
  {
    MountedDrive drive(static_cast<wchar_t>(c.letter), c.win32Type, root.Path());
    ASSERT_EQ(drive.Result(), 0u);
    EXPECT_EQ(drives.Type(c.letter), c.type);
    EXPECT_NO_THROW(drives.SerialNumber(c.letter));
    const std::vector<char> letters = drives.Letters();
    EXPECT_EQ(std::count(letters.begin(), letters.end(), c.letter), 1);
    const std::wstring marker = std::wstring{static_cast<wchar_t>(c.letter)} + L":\\marker.txt";
    EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);  // the right folder
  }
  EXPECT_FILE_ERROR(drives.Type(c.letter), err::kDeviceUnavailable);
}

INSTANTIATE_TEST_SUITE_P(WineMountManager, MountedDriveTest,
                         testing::Values(MountCase{'R', DRIVE_REMOTE, DriveType::Remote, "Network"},
                                         MountCase{'S', DRIVE_CDROM, DriveType::CdRom, "CdRom"},
                                         MountCase{'T', DRIVE_FIXED, DriveType::Fixed, "Fixed"}),
                         [](const testing::TestParamInfo<MountCase>& info) {
                           return std::string(info.param.name);
                         });

#endif  // KESTRANE_HAVE_WINE_MOUNT

}  // namespace
}  // namespace kestrane::win32
