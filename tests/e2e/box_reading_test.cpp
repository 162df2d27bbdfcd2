// The harness reads message boxes the way every other group relies on: title, text with its line
// breaks, the buttons present and the icon, told apart from each other.

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

using namespace e2e;

struct Shown {
  UINT style;
  std::vector<int> buttons;
  Icon icon;
};

class BoxReading : public ::testing::TestWithParam<Shown> {};

TEST_P(BoxReading, ReadsTitleTextButtonsAndIcon) {
  const Shown& shown = GetParam();
  Program program =
      Program::Start(DriverFolder() + L"\\show_box.exe",
                     std::to_wstring(shown.style) + L" \"Box title\" \"one, \r\ntwo\"");
  auto box = WaitForBox(program, kStartLimit);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, L"Box title");
  EXPECT_EQ(box->text, L"one, \r\ntwo");
  EXPECT_EQ(box->buttons, shown.buttons);
  EXPECT_EQ(box->icon, shown.icon);

  int answer = shown.buttons.back();
  ASSERT_TRUE(Answer(*box, answer));
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(answer));
}

INSTANTIATE_TEST_SUITE_P(
    Harness, BoxReading,
    ::testing::Values(
        Shown{MB_OK | MB_ICONHAND, {IDOK}, Icon::Critical},
        Shown{MB_OKCANCEL | MB_ICONQUESTION, {IDOK, IDCANCEL}, Icon::Question},
        Shown{MB_YESNOCANCEL | MB_ICONEXCLAMATION, {IDCANCEL, IDYES, IDNO}, Icon::Exclamation},
        Shown{MB_YESNO | MB_ICONINFORMATION, {IDYES, IDNO}, Icon::Information},
        Shown{MB_OK, {IDOK}, Icon::None}));

}  // namespace
