#pragma once
// The fixture every end-to-end group derives from: a bed as an installation leaves it, the
// installed program started and used through its main window the way a user uses it, and the
// checks of what the user then sees. Each group (one fixture) runs in a Wine bed of its own.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e_support.h"

namespace e2e {

namespace ids = kestrane::ids;

inline constexpr wchar_t kMainTitle[] = L"Kestrane - Pro";
// Folders every bed has: C:\Work holding the files kWorkFiles names, and C:\Beds.
inline constexpr wchar_t kWork[] = L"C:\\Work";
inline constexpr wchar_t kBeds[] = L"C:\\Beds";
inline const std::vector<std::wstring> kWorkFiles = {L"notes.txt", L"plan.txt"};

// A box's buttons, in the order Box::buttons lists them.
inline const std::vector<int> kOkOnly = {IDOK};
inline const std::vector<int> kOkCancel = {IDOK, IDCANCEL};
inline const std::vector<int> kYesNoCancel = {IDCANCEL, IDYES, IDNO};

// A message box as the user sees it.
struct BoxShown {
  std::wstring text;
  std::wstring title;
  Icon icon;
  std::vector<int> buttons;
};
inline const BoxShown kDone = {L"Operation Completed!", L"Done!", Icon::None, kOkOnly};
// The program's refusals: "ERROR!", the critical icon and OK.
inline BoxShown Error(const std::wstring& text) {
  return {text, L"ERROR!", Icon::Critical, kOkOnly};
}
// Whether a box looks as `shown`; what differs when it does not.
::testing::AssertionResult Looks(const Box& box, const BoxShown& shown);

// The mask bit of a drive letter in the data file.
inline std::int32_t Bit(wchar_t letter) { return std::int32_t{1} << (letter - L'A'); }
// Whether a letter list holds the row "K:".
bool Lists(const std::vector<std::wstring>& list, wchar_t letter);

class ProgramTest : public ::testing::Test {
 protected:
  // The data file as installed, C:\Work and C:\Beds, the Startup folder without subit.bat.
  void SetUp() override;
  // Ends the program and removes every drive letter that came up during the test.
  void TearDown() override;

  // The bed.
  static std::wstring Batch();                   // subit.bat in the Startup folder
  static std::string BatchText();                // "<none>" while it cannot be read
  static std::vector<std::uint8_t> DataBytes();  // empty while it cannot be read
  static std::int32_t StoredMask();              // 0 while the data file cannot be read whole
  static bool Mapped(wchar_t letter);
  // subst.exe run the way a user runs it, to map a letter before the program starts.
  static bool Map(wchar_t letter, const std::wstring& folder);

  // The program, started in `folder` (its own when none is given). Start answers the main
  // window, or null (with a failure) when none showed.
  HWND Start(const std::wstring& folder = {});
  void Press(int button) const { Click(Control(main_, button)); }
  void Choose(int command) const { ChooseMenu(main_, command); }
  bool PickFree(wchar_t letter) const {
    return SelectLetter(Control(main_, ids::lstAvail), letter);
  }
  bool PickUsed(wchar_t letter) const {
    return SelectLetter(Control(main_, ids::lstUsedLtrs), letter);
  }
  std::vector<std::wstring> Free() const { return ListItems(Control(main_, ids::lstAvail)); }
  std::vector<std::wstring> Used() const { return ListItems(Control(main_, ids::lstUsedLtrs)); }
  bool InDriveList(wchar_t letter) const;

  // Boxes.
  std::optional<Box> NextBox(Duration limit = kStepLimit) const;
  // Waits for the next box, answers it with `button` and says whether it came, looked as `shown`
  // and closed.
  ::testing::AssertionResult AnswerNext(const BoxShown& shown, int button) const;
  // True when the program is still running and shows no box for a while.
  bool Quiet() const;
  // Posts a marker only the window's own queue can deliver (a selection in the path box, which
  // nothing else moves meanwhile) and answers how long it waited there; kStepLimit when it was
  // never taken.
  Duration MarkerDelay(HWND path, int end) const;

  std::optional<Program> program_;
  HWND main_ = nullptr;
  Duration quiet_ = 1500ms;  // how long "no further box" is watched for

 private:
  DWORD drivesBefore_ = 0;
};

}  // namespace e2e
