// The main window as a user first meets it, on a machine with drives of every kind.

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "expectations.h"
#include "wine_mount.h"

namespace {

using namespace e2e;
namespace ids = kestrane::ids;

constexpr wchar_t kShare[] = L"C:\\Beds\\Share";
constexpr wchar_t kDisc[] = L"C:\\Beds\\Disc";

// A bed with the installed program, its data file, a network drive on N: and a CD-ROM with a disc
// on O:, next to the prefix's own drives (C: and Z: in a plain prefix).
class DriveTable : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteInitialDataFile();
    CreateFolders(kShare);
    CreateFolders(kDisc);
    WriteText(std::wstring(kDisc) + L"\\readme.txt", "disc\r\n");
    ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kShare), DWORD{ERROR_SUCCESS});
    ASSERT_EQ(wine_mount::DefineDrive(L'O', DRIVE_CDROM, kDisc), DWORD{ERROR_SUCCESS});
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), UINT{DRIVE_REMOTE});
    ASSERT_EQ(GetDriveTypeW(L"O:\\"), UINT{DRIVE_CDROM});
  }
  void TearDown() override {
    wine_mount::RemoveDrive(L'N');
    wine_mount::RemoveDrive(L'O');
  }

  HWND StartAndWaitForMainWindow() {
    program_.emplace(Program::Start());
    HWND main = program_->WaitForWindow(ids::kMainWindowClass, kMainTitle);
    EXPECT_NE(main, nullptr) << "no visible main window titled \"Kestrane - Pro\"";
    return main;
  }

  std::optional<Program> program_;
};

// The expected lists come from the bed's drive table, so that a prefix that brings drives of its
// own (a host's CD drive, say) is still judged right; N: and O: are there in any case.
TEST_F(DriveTable, UsedListHoldsEveryDriveInLetterOrderAndNetworkLettersInLowerCase) {
  std::vector<std::wstring> used, free;
  DWORD drives = GetLogicalDrives();
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    if (!(drives & (1u << (letter - L'A')))) {
      free.push_back({letter, L':'});
    } else {
      bool remote = GetDriveTypeW((std::wstring{letter} + L":\\").c_str()) == DRIVE_REMOTE;
      used.push_back({remote ? static_cast<wchar_t>(std::towlower(letter)) : letter, L':'});
    }
  }

  HWND main = StartAndWaitForMainWindow();
  ASSERT_NE(main, nullptr);
  auto usedList = ListItems(Control(main, ids::lstUsedLtrs));
  EXPECT_EQ(usedList, used);
  EXPECT_NE(std::find(usedList.begin(), usedList.end(), L"n:"), usedList.end());
  EXPECT_NE(std::find(usedList.begin(), usedList.end(), L"O:"), usedList.end());
  EXPECT_EQ(ListItems(Control(main, ids::lstAvail)), free);
  EXPECT_EQ(program_->FindVisible(L"#32770"), nullptr) << "a message box came up at start-up";
}

TEST_F(DriveTable, ReadyWindowHasItsTitleAndTheFocusInTheFreeLetterList) {
  HWND main = StartAndWaitForMainWindow();
  ASSERT_NE(main, nullptr);

  EXPECT_EQ(TextOf(main), kMainTitle);
  HWND freeLetters = Control(main, ids::lstAvail);
  ASSERT_NE(freeLetters, nullptr);
  EXPECT_TRUE(WaitFor([&] { return FocusOf(main) == freeLetters; }))
      << "focus is on control " << GetDlgCtrlID(FocusOf(main));
}

// The pointer resting on a button brings up that button's tip, as the mouse really moves.
TEST_F(DriveTable, PointerRestingOnAButtonShowsItsTip) {
  HWND main = StartAndWaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
  RECT button{};
  GetWindowRect(Control(main, ids::cmdRemove), &button);
  SetCursorPos(button.left + 5, button.top + 5);  // moved onto it, then rested
  SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);

  HWND tip = nullptr;
  WaitFor([&] { return (tip = program_->FindVisible(L"tooltips_class32")) != nullptr; });
  ASSERT_NE(tip, nullptr) << "no tip came up";
  EXPECT_EQ(TextOf(tip),
            L" Click Letter in Use, then Click to remove that letter's virtual drive. ");
  SetCursorPos(0, 0);
}

TEST_F(DriveTable, ExitEndsTheProgram) {
  HWND main = StartAndWaitForMainWindow();
  ASSERT_NE(main, nullptr);

  Click(Control(main, ids::cmdCancel));
  EXPECT_TRUE(program_->WaitForExit().has_value());
}

}  // namespace
