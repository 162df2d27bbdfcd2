// The two letter columns at the resolutions people use: every entry whole inside its column, the
// last letters, which people pick most, included, with nothing to scroll.

#include "program_test.h"

namespace {

using namespace e2e;

// The two places Wine reads the resolution from; a program started afterwards draws at it. The
// bed goes with the group, so nothing sets it back.
void SetScreenDpi(DWORD dpi) {
  for (const auto& [root, key] :
       {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
        std::pair{HKEY_LOCAL_MACHINE,
                  L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"}}) {
    RegSetKeyValueW(root, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
}

class LetterColumns : public ProgramTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    SetScreenDpi(GetParam());
  }
};

TEST_P(LetterColumns, EveryEntryLiesWholeInsideItsColumn) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(Free().size(), 24u) << "a plain bed uses C: and Z: alone";
  EXPECT_EQ(Free().back(), L"Y:");

  for (const int id : {ids::lstAvail, ids::lstUsedLtrs}) {
    const HWND list = Control(main_, id);
    RECT frame{}, client{};
    GetWindowRect(list, &frame);
    GetClientRect(list, &client);
    ASSERT_EQ(frame.bottom - frame.top, MulDiv(4860, GetParam(), 1440)) << "not at this dpi";
    const std::vector<std::wstring> entries = ListItems(list);
    for (WPARAM i = 0; i < entries.size(); ++i) {
      RECT row{};
      SendMessageW(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&row));
      EXPECT_TRUE(row.top >= 0 && row.bottom <= client.bottom && row.right <= client.right)
          << Narrow(entries[i]) << " at " << row.top << ".." << row.bottom << " of "
          << client.bottom;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, LetterColumns, ::testing::Values(96, 120, 144));

}  // namespace
