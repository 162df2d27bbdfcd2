// kestrane.exe started with a folder, as Explorer's verb starts it: the window opens on that
// folder as if the user had walked there, and Add maps it; what cannot be chosen is refused with
// a box that names it, and the window then opens as usual.

#include <cwctype>

#include "program_test.h"
#include "wine_mount.h"

namespace {

using namespace e2e;

constexpr wchar_t kShare[] = L"C:\\Beds\\Share";
constexpr wchar_t kSecret[] = L"C:\\Beds\\Secret";
constexpr wchar_t kLong[] =
    L"C:\\Beds\\Clients\\Northwind Traders\\Quarterly Reports\\Drafts and Final Versions";

struct ArgumentCase {
  const char* name;
  const wchar_t* arguments;  // as typed after the program's name
  const wchar_t* folder;     // the folder chosen; null when refused
  std::wstring box;          // the refusal's text
};

void PrintTo(const ArgumentCase& c, std::ostream* out) { *out << c.name; }

// A bed with a network drive N:, a hidden folder and a long path, each holding one file.
class FolderArgument : public ProgramTest, public ::testing::WithParamInterface<ArgumentCase> {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    for (const wchar_t* folder : {kShare, kSecret, kLong}) {
      CreateFolders(folder);
      WriteText(std::wstring(folder) + L"\\notes.txt", "notes\r\n");
    }
    SetFileAttributesW(kSecret, FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kShare), DWORD{ERROR_SUCCESS});
  }

  HWND StartWith(const std::wstring& arguments) {
    program_.emplace(Program::Start(InstalledExe(), arguments));
    main_ = program_->WaitForWindow(ids::kMainWindowClass, kMainTitle);
    EXPECT_NE(main_, nullptr) << "no visible main window";
    return main_;
  }

  // Whether the window came to show `folder` as a walk there shows it: the path box (a long
  // path by its end), the folder list open on it and the drive list on its drive.
  ::testing::AssertionResult Shows(const std::wstring& folder) const {
    const std::wstring shown =
        folder.size() > 66 ? L"....." + folder.substr(folder.size() - 63) : folder;
    const HWND path = Control(main_, ids::txtPath);
    if (!WaitFor([&] { return TextOf(path) == shown; })) {
      return ::testing::AssertionFailure() << "the path box shows " << Narrow(TextOf(path));
    }
    const HWND list = Control(main_, ids::dirList);
    const auto rows = ListItems(list);
    const int row = ListSelection(list);
    const std::wstring name = folder.size() == 3 ? folder : folder.substr(folder.rfind(L'\\') + 1);
    if (row < 0 || row >= static_cast<int>(rows.size()) || rows[row] != name) {
      return ::testing::AssertionFailure() << "the folder list is not open on " << Narrow(name);
    }
    const HWND drives = Control(main_, ids::DrvList);
    const auto items = ComboItems(drives);
    const auto drive = static_cast<int>(SendMessageW(drives, CB_GETCURSEL, 0, 0));
    if (drive < 0 || drive >= static_cast<int>(items.size()) ||
        items[drive].rfind(std::wstring{static_cast<wchar_t>(std::towlower(folder[0])), L':'}, 0) !=
            0) {
      return ::testing::AssertionFailure() << "the drive list is not on " << Narrow(folder);
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_P(FolderArgument, OpensOnTheFolderOrSaysWhyNot) {
  const ArgumentCase& c = GetParam();
  ASSERT_NE(StartWith(c.arguments), nullptr);
  if (c.folder == nullptr) {
    EXPECT_TRUE(AnswerNext(Error(c.box), IDOK));
    EXPECT_TRUE(Shows(L"C:\\")) << "the window does not open as usual";
    EXPECT_TRUE(Quiet());
    return;
  }
  ASSERT_TRUE(Shows(c.folder));
  EXPECT_TRUE(Quiet()) << "a box came with the folder";
  EXPECT_FALSE(Mapped(L'K')) << "a drive was made before Add";

  ASSERT_TRUE(PickFree(L'K'));
  Press(ids::cmdOk);
  if (std::wstring(c.folder).size() == 3) {
    auto root = NextBox();
    ASSERT_TRUE(root) << "a drive root is not asked about";
    ASSERT_TRUE(Answer(*root, IDYES));
  }
  EXPECT_TRUE(AnswerNext(kDone, IDOK));
  EXPECT_EQ(FolderEntries(L"K:\\"), FolderEntries(c.folder));
}

const ArgumentCase kArguments[] = {
    {"Quoted", L"\"C:\\Work\"", kWork, {}},
    {"Unquoted", L"C:\\Work", kWork, {}},
    {"TrailingBackslash", L"\"C:\\Work\\\"", kWork, {}},
    {"DriveRoot", L"\"C:\\\"", L"C:\\", {}},
    {"Relative", L"..\\..\\Work", kWork, {}},  // from the program's folder
    {"File", L"\"C:\\Work\\notes.txt\"", kWork, {}},
    {"Hidden", L"\"C:\\Beds\\Secret\"", kSecret, {}},
    {"Long",
     L"\"C:\\Beds\\Clients\\Northwind Traders\\Quarterly Reports\\Drafts and Final Versions\"",
     kLong,
     {}},
    {"Missing", L"\"C:\\Nowhere\"", nullptr, L"Path not found!\r\n\"C:\\Nowhere\""},
    {"Share", L"\\\\server\\share", nullptr,
     L"QOR does not work with network drives!\r\n\"\\\\server\\share\""},
    {"NetworkDrive", L"\"N:\\\"", nullptr, L"QOR does not work with network drives!\r\n\"N:\\\""},
    {"TwoArguments", L"C:\\Work C:\\Beds", nullptr,
     L"Only one folder can be given:\r\n\"C:\\Work\" \"C:\\Beds\"\r\n"
     L"Usage: kestrane.exe [\"folder\"]"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, FolderArgument, ::testing::ValuesIn(kArguments),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
