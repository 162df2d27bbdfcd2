// kestrane.exe started with a folder, as Explorer's verb starts it: the window opens on it as a
// walk there would leave it, and Add maps it; what cannot be chosen is refused with a box that
// names it, and the window then opens as usual.

#include <cwctype>

#include "program_test.h"
#include "wine_mount.h"

namespace {

using namespace e2e;

constexpr wchar_t kSecret[] = L"C:\\Beds\\Secret";

struct ArgumentCase {
  const char* name;
  std::wstring arguments;  // as typed after the program's name
  const wchar_t* folder;   // the folder the window opens on; null: refused with `box`
  std::wstring box;
};

// A hidden folder and a network drive N: beside the bed's C:\Work.
class FolderArgument : public ProgramTest, public ::testing::WithParamInterface<ArgumentCase> {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    CreateFolders(kSecret);
    WriteText(std::wstring(kSecret) + L"\\notes.txt", "notes\r\n");
    SetFileAttributesW(kSecret, FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kBeds), DWORD{ERROR_SUCCESS});
  }
  // The path box shows the folder, the folder list is open on it, the drive list on its drive.
  bool Shows(const std::wstring& folder) const {
    if (!WaitFor([&] { return TextOf(Control(main_, ids::txtPath)) == folder; })) return false;
    const auto rows = ListItems(Control(main_, ids::dirList));
    const auto row = static_cast<std::size_t>(ListSelection(Control(main_, ids::dirList)));
    const HWND drives = Control(main_, ids::DrvList);
    const auto drive = static_cast<std::size_t>(SendMessageW(drives, CB_GETCURSEL, 0, 0));
    return row < rows.size() &&
           rows[row] == folder.substr(folder.size() == 3 ? 0 : 1 + folder.rfind(L'\\')) &&
           drive < ComboItems(drives).size() &&
           ComboItems(drives)[drive][0] == static_cast<wchar_t>(std::towlower(folder[0]));
  }
};

TEST_P(FolderArgument, OpensOnTheFolderOrSaysWhyNot) {
  const ArgumentCase& c = GetParam();
  program_.emplace(Program::Start(InstalledExe(), c.arguments));
  ASSERT_NE(main_ = program_->WaitForWindow(ids::kMainWindowClass, kMainTitle), nullptr);
  if (c.folder == nullptr) {
    EXPECT_TRUE(AnswerNext(Error(c.box), IDOK));
    EXPECT_TRUE(Shows(L"C:\\")) << "the window does not open as usual";
    return;
  }
  ASSERT_TRUE(Shows(c.folder));
  EXPECT_TRUE(Quiet()) << "a box came with the folder";
  ASSERT_TRUE(PickFree(L'K'));
  Press(ids::cmdOk);
  if (const auto root = std::wstring(c.folder).size() == 3 ? NextBox() : std::nullopt; root) {
    ASSERT_TRUE(Answer(*root, IDYES));  // a drive root is asked about
  }
  EXPECT_TRUE(AnswerNext(kDone, IDOK));
  EXPECT_EQ(FolderEntries(L"K:\\"), FolderEntries(c.folder));
}

const ArgumentCase kArguments[] = {
    {"Quoted", L"\"C:\\Work\"", kWork, {}},
    {"TrailingBackslash", L"\"C:\\Work\\\"", kWork, {}},
    {"DriveRoot", L"\"C:\\\"", L"C:\\", {}},
    {"Relative", L"..\\..\\Work", kWork, {}},  // from the program's folder
    {"File", L"\"C:\\Work\\notes.txt\"", kWork, {}},
    {"Hidden", L"\"C:\\Beds\\Secret\"", kSecret, {}},
    {"Missing", L"\"C:\\Nowhere\"", nullptr, L"Path not found!\r\n\"C:\\Nowhere\""},
    {"NetworkDrive", L"\"N:\\\"", nullptr, L"QOR does not work with network drives!\r\n\"N:\\\""},
    {"TwoArguments", L"C:\\Work C:\\Beds", nullptr,
     L"Only one folder can be given:\r\n\"C:\\Work\" \"C:\\Beds\"\r\n"
     L"Usage: kestrane.exe [\"folder\"]"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, FolderArgument, ::testing::ValuesIn(kArguments),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
