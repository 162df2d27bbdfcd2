// The Windows installer, run silently as an administrator would deploy it, and its uninstaller.

#include "info/version.h"
#include "installer_steps.h"
#include "program_test.h"

namespace {

using namespace e2e;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrane";

std::wstring UninstallValue(const wchar_t* name) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return L"<missing>";
  }
  return value;
}

bool UninstallKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// Each test starts from a machine that has never seen Kestrane: no program folder, no shortcut,
// no data folder.
class Installer : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(Exists(SetupExe())) << "no installer at " << Narrow(SetupExe());
    // An installer that has just ended may still hold its folder for a moment.
    ASSERT_TRUE(WaitFor([] {
      DeleteTree(InstallFolder());
      return !Exists(InstallFolder());
    })) << "cannot remove an earlier installation";
    DeleteFileW(ShortcutPath().c_str());
    DeleteTree(DataFolder().substr(0, DataFolder().size() - 1));
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
    ASSERT_FALSE(Exists(DataFilePath()));
  }
};

TEST_F(Installer, SilentInstallLeavesProgramHelpShortcutUninstallerAndInitialDataFile) {
  ASSERT_EQ(RunSilentSetup(), 0);

  EXPECT_TRUE(Exists(InstalledExe()));
  EXPECT_TRUE(Exists(InstallFolder() + L"\\qor.chm"));
  EXPECT_TRUE(Exists(InstallFolder() + L"\\uninst.exe"));
  EXPECT_TRUE(Exists(ShortcutPath()));
  ASSERT_TRUE(Exists(DataFilePath()));
  EXPECT_EQ(ReadBytes(DataFilePath()), InitialDataFile());
  EXPECT_EQ(LetterMaskOf(ReadBytes(DataFilePath())), kInitialMask);

  EXPECT_EQ(UninstallValue(L"DisplayName"), L"Kestrane - Pro");
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), L"" KESTRANE_PRODUCT_VERSION_TEXT);
  EXPECT_EQ(UninstallValue(L"Publisher"), L"Halvecki");
  EXPECT_EQ(UninstallValue(L"UninstallString"), L"\"" + InstallFolder() + L"\\uninst.exe\"");
  EXPECT_EQ(UninstallValue(L"QuietUninstallString"),
            L"\"" + InstallFolder() + L"\\uninst.exe\" /S");
}

// What Explorer's Properties and Add/Remove Programs show of the installed program.
TEST_F(Installer, InstalledProgramCarriesItsVersionRecord) {
  ASSERT_EQ(RunSilentSetup(), 0);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(InstalledExe().c_str(), &ignored);
  ASSERT_GT(size, 0u) << "kestrane.exe has no version record";
  std::vector<std::uint8_t> record(size);
  ASSERT_TRUE(GetFileVersionInfoW(InstalledExe().c_str(), 0, size, record.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS,
            static_cast<DWORD>(MAKELONG(KESTRANE_VERSION_MINOR, KESTRANE_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(KESTRANE_VERSION_REVISION));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  auto text = [&](const wchar_t* name) -> std::wstring {
    wchar_t* value = nullptr;
    UINT chars = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(record.data(), path.c_str(), reinterpret_cast<void**>(&value), &chars)) {
      return L"<missing>";
    }
    return value;
  };
  EXPECT_EQ(text(L"FileVersion"), L"" KESTRANE_FILE_VERSION_TEXT);
  EXPECT_EQ(text(L"ProductName"), L"Kestrane");
  EXPECT_EQ(text(L"ProductVersion"), L"" KESTRANE_PRODUCT_VERSION_TEXT);
  EXPECT_EQ(text(L"CompanyName"), L"Halvecki");
  EXPECT_NE(text(L"FileDescription"), L"<missing>");
}

TEST_F(Installer, InstalledProgramStartsWithTheDataFileTheInstallerMade) {
  ASSERT_EQ(RunSilentSetup(), 0);
  EXPECT_NE(Start(), nullptr) << "the installed program did not show its main window";
  EXPECT_EQ(program_->FindVisible(L"#32770"), nullptr) << "a message box came up at start-up";
}

TEST_F(Installer, SilentInstallRefusesWhileTheProgramRuns) {
  ASSERT_EQ(RunSilentSetup(), 0);
  ASSERT_NE(Start(), nullptr);

  EXPECT_EQ(RunSilentSetup(), 2);
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(program_->FindVisible(L"#32770"), nullptr);
}

TEST_F(Installer, ReinstallKeepsTheUsersDataFile) {
  ASSERT_EQ(RunSilentSetup(), 0);
  // The user has made P: and Q: permanent since.
  std::vector<std::uint8_t> mine = ReadBytes(DataFilePath());
  const std::int32_t mask = kInitialMask | Bit(L'P') | Bit(L'Q');
  SetLetterMask(mine, mask);
  WriteBytes(DataFilePath(), mine);

  ASSERT_EQ(RunSilentSetup(), 0);
  EXPECT_EQ(ReadBytes(DataFilePath()), mine);
  EXPECT_EQ(LetterMaskOf(ReadBytes(DataFilePath())), mask);
  EXPECT_TRUE(Exists(InstalledExe()));
}

TEST_F(Installer, SilentUninstallRemovesTheProgramAndKeepsTheUsersData) {
  ASSERT_EQ(RunSilentSetup(), 0);
  ASSERT_TRUE(Exists(InstalledExe()));

  ASSERT_TRUE(RunSilentUninstall()) << "the program folder is still there";
  EXPECT_FALSE(Exists(InstalledExe()));
  EXPECT_FALSE(Exists(ShortcutPath()));
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_EQ(ReadBytes(DataFilePath()), InitialDataFile());
}

}  // namespace
