// The main window as a user first meets it, on a machine with drives of every kind.

#include <cwctype>

#include "program_test.h"
#include "wine_mount.h"

namespace {

using namespace e2e;

constexpr wchar_t kShare[] = L"C:\\Beds\\Share";
constexpr wchar_t kDisc[] = L"C:\\Beds\\Disc";

// A bed with the installed program, its data file, a network drive on N: and a CD-ROM with a disc
// on O:, next to the prefix's own drives (C: and Z: in a plain prefix).
class DriveTable : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    CreateFolders(kShare);
    CreateFolders(kDisc);
    WriteText(std::wstring(kDisc) + L"\\readme.txt", "disc\r\n");
    ASSERT_EQ(wine_mount::DefineDrive(L'N', DRIVE_REMOTE, kShare), DWORD{ERROR_SUCCESS});
    ASSERT_EQ(wine_mount::DefineDrive(L'O', DRIVE_CDROM, kDisc), DWORD{ERROR_SUCCESS});
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), UINT{DRIVE_REMOTE});
    ASSERT_EQ(GetDriveTypeW(L"O:\\"), UINT{DRIVE_CDROM});
  }
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

  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Used(), used);
  EXPECT_TRUE(Lists(Used(), L'n'));
  EXPECT_TRUE(Lists(Used(), L'O'));
  EXPECT_EQ(Free(), free);
  EXPECT_EQ(program_->FindVisible(L"#32770"), nullptr) << "a message box came up at start-up";
}

TEST_F(DriveTable, ReadyWindowHasItsTitleAndTheFocusInTheFreeLetterList) {
  ASSERT_NE(Start(), nullptr);

  EXPECT_EQ(TextOf(main_), kMainTitle);
  HWND freeLetters = Control(main_, ids::lstAvail);
  ASSERT_NE(freeLetters, nullptr);
  EXPECT_TRUE(WaitFor([&] { return FocusOf(main_) == freeLetters; }))
      << "focus is on control " << GetDlgCtrlID(FocusOf(main_));
}

// The pointer resting on a button brings up that button's tip, as the mouse really moves.
TEST_F(DriveTable, PointerRestingOnAButtonShowsItsTip) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main_; }));
  RECT button{};
  GetWindowRect(Control(main_, ids::cmdRemove), &button);
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
  ASSERT_NE(Start(), nullptr);

  Press(ids::cmdCancel);
  EXPECT_TRUE(program_->WaitForExit().has_value());
}

}  // namespace
