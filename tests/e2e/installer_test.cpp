// The Windows installer, run silently as an administrator would deploy it, and its uninstaller.

#include "info/version.h"
#include "installer_steps.h"
#include "program_test.h"

namespace {

using namespace e2e;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrane";

std::wstring RegistryText(const std::wstring& key, const wchar_t* name) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return L"<missing>";
  }
  return value;
}

std::wstring UninstallValue(const wchar_t* name) { return RegistryText(kUninstallKey, name); }

bool UninstallKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// Explorer's verb on a folder and on the background of an open folder.
constexpr wchar_t kVerb[] = L"Kestrane.DriveLetter";
const std::wstring kFolderVerb = L"Software\\Classes\\Directory\\shell\\" + std::wstring(kVerb);
const std::wstring kBackgroundVerb =
    L"Software\\Classes\\Directory\\Background\\shell\\" + std::wstring(kVerb);

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

// A data file the program refuses (not 2,500 bytes) is replaced and kept beside the new one, under
// a name no earlier kept copy has; one it reads stays byte for byte.
struct FoundDataFile {
  const char* name;
  std::size_t size;
  int earlierCopies;  // himem32.qor.bad, .bad2, ... kept by earlier installs
};
const FoundDataFile kFound[] = {
    {"Short", 1000, 0}, {"Empty", 0, 1}, {"Long", 2501, 2}, {"Whole", 2500, 1}};

class DataFileFound : public Installer, public ::testing::WithParamInterface<FoundDataFile> {};

TEST_P(DataFileFound, IsReplacedAndKeptBesideUnlessWhole) {
  const FoundDataFile& found = GetParam();
  auto kept = [](int n) {
    return DataFolder() + L"himem32.qor.bad" + (n > 1 ? std::to_wstring(n) : L"");
  };
  const bool whole = found.size == 2 * kRecordLength;
  std::vector<std::uint8_t> bytes(found.size, 0x5A);
  if (whole) SetLetterMask(bytes, kInitialMask | Bit(L'P'));
  WriteInitialDataFile();
  WriteBytes(DataFilePath(), bytes);
  for (int n = 1; n <= found.earlierCopies; ++n) WriteText(kept(n), "earlier");

  ASSERT_EQ(RunSilentSetup(), 0);
  EXPECT_EQ(DataBytes(), whole ? bytes : InitialDataFile());
  for (int n = 1; n <= found.earlierCopies; ++n) EXPECT_EQ(ReadText(kept(n)), "earlier");
  EXPECT_TRUE(whole || ReadBytes(kept(found.earlierCopies + 1)) == bytes) << "not kept as it was";
  EXPECT_EQ(FolderEntries(DataFolder()).size(), found.earlierCopies + (whole ? 1u : 2u));
}

INSTANTIATE_TEST_SUITE_P(Files, DataFileFound, ::testing::ValuesIn(kFound),
                         [](const auto& info) { return std::string(info.param.name); });

// Explorer's entries on a folder's menu and on an open folder's: what they run, that the shell
// starts the installed program through them, and that the uninstaller takes them and no other.
TEST_F(Installer, FolderVerbsStartTheProgramAndGoWithTheUninstaller) {
  const std::wstring other = L"Software\\Classes\\Directory\\shell\\Other.Verb\\command";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, other.c_str(), nullptr, REG_SZ, L"x", 4), 0);
  ASSERT_EQ(RunSilentSetup(), 0);
  const std::wstring exe = L"\"" + InstalledExe() + L"\"";
  for (const auto& [key, folder] :
       {std::pair{kFolderVerb, L" \"%1\""}, {kBackgroundVerb, L" \"%V\""}}) {
    EXPECT_EQ(RegistryText(key, nullptr), L"Give it a drive &letter");
    EXPECT_EQ(RegistryText(key, L"Icon"), exe + L",0");
    EXPECT_EQ(RegistryText(key + L"\\command", nullptr), exe + folder);
  }

  const HANDLE started = RunFolderVerb(kVerb, kWork);
  ASSERT_NE(started, nullptr) << "the shell started nothing";
  EXPECT_TRUE(WaitFor(
      [] { return IsWindowVisible(FindWindowW(ids::kMainWindowClass, kMainTitle)); }, kStartLimit))
      << "the program showed no main window";
  TerminateProcess(started, 0);  // the uninstaller refuses while the program runs
  WaitForSingleObject(started, 5000);
  CloseHandle(started);

  ASSERT_TRUE(RunSilentUninstall());
  EXPECT_EQ(RegistryText(kFolderVerb, nullptr), L"<missing>");
  EXPECT_EQ(RegistryText(kBackgroundVerb, nullptr), L"<missing>");
  EXPECT_EQ(RegistryText(other, nullptr), L"x");
}

// What the uninstaller leaves of the letters the user made permanent: run by a person, who is
// asked, or silently, when only /FORGETDRIVES forgets them.
struct UninstallRun {
  const char* name;
  const wchar_t* arguments;              // after /S; null: with its pages
  int answer;                            // to the question; 0: none may come
  const char *batchBefore, *batchAfter;  // "<none>": no file
  bool forgets;                          // the mask goes back to its initial value
};

constexpr char kMixed[] =
    "@echo off\r\nsubst P: \"C:\\Work\"\r\nrem subst Q:\r\nSUBST q: \"C:\\Beds\"\nsubst /?\r\n";
constexpr char kOthers[] = "@echo off\r\nrem subst Q:\r\nsubst /?\r\n";
constexpr char kOursOnly[] = "subst P: \"C:\\Work\"\r\n \r\n\r\nsubst Q: \"C:\\Beds\"\r\n";

const UninstallRun kRuns[] = {
    {"Silent", L"", 0, kMixed, kMixed, false},
    {"SilentForgetting", L"/FORGETDRIVES", 0, kMixed, kOthers, true},
    {"SilentForgettingEveryLine", L"/FORGETDRIVES", 0, kOursOnly, "<none>", true},
    {"AnsweredYes", nullptr, IDYES, kMixed, kOthers, true},
    {"AnsweredNo", nullptr, IDNO, kMixed, kMixed, false},
    {"NotAskedWithoutALetter", nullptr, 0, kOthers, kOthers, false},
};

const BoxShown kQuestion = {
    L"These drive letters come back at every logon: P:, Q:.\r\n"
    L"subit.bat in your Startup folder makes them, also once Kestrane is removed.\r\n\r\n"
    L"Do you want them to stop coming back?\r\n"
    L"(A drive that is there now stays until you log off.)",
    L"Kestrane - Pro " KESTRANE_PRODUCT_VERSION_TEXT L" Uninstall",
    Icon::Question,
    {IDYES, IDNO}};

class Uninstaller : public Installer, public ::testing::WithParamInterface<UninstallRun> {};

TEST_P(Uninstaller, KeepsOrForgetsThePermanentLettersAndChangesNoOtherByte) {
  const UninstallRun& run = GetParam();
  ASSERT_EQ(RunSilentSetup(), 0);
  WriteText(Batch(), run.batchBefore);
  std::vector<std::uint8_t> data(2 * kRecordLength);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 % 251);
  SetLetterMask(data, kInitialMask | Bit(L'P') | Bit(L'Q'));
  WriteBytes(DataFilePath(), data);

  if (run.arguments) {
    ASSERT_TRUE(RunSilentUninstall(run.arguments)) << "the program folder is still there";
  } else {
    Program uninstaller = StartUninstaller();
    const HWND page = uninstaller.WaitForWindow(L"#32770", nullptr);
    ASSERT_NE(page, nullptr) << "the uninstaller showed no window";
    Click(Control(page, IDOK));  // Uninstall: the question comes before the program's files go
    WaitFor([&] { return FindBox(uninstaller.Id(), page) || !Exists(InstalledExe()); }, 60s);
    const auto box = WaitForBox(uninstaller, 0s, page);
    ASSERT_EQ(box.has_value(), run.answer != 0) << "a question came with no letter, or none came";
    if (box) {
      EXPECT_TRUE(Looks(*box, kQuestion));
      ASSERT_TRUE(Answer(*box, run.answer));
    }
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Control(page, IDOK)); }, 60s));
    Click(Control(page, IDOK));  // Close
  }
  EXPECT_EQ(BatchText(), run.batchAfter);
  if (run.forgets) SetLetterMask(data, kInitialMask);
  EXPECT_EQ(DataBytes(), data);
}

INSTANTIATE_TEST_SUITE_P(Runs, Uninstaller, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
