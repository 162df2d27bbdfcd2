// The harness reads message boxes the way every other group relies on: title, text with its line
// breaks, the buttons present and the icon, told apart from each other.

#include "program_test.h"

namespace {

using namespace e2e;

struct Shown {
  UINT style;
  std::vector<int> buttons;
  Icon icon;
};

class BoxReading : public ProgramTest, public ::testing::WithParamInterface<Shown> {};

TEST_P(BoxReading, ReadsTitleTextButtonsAndIcon) {
  const Shown& shown = GetParam();
  program_.emplace(
      Program::Start(DriverFolder() + L"\\show_box.exe",
                     std::to_wstring(shown.style) + L" \"Box title\" \"one, \r\ntwo\""));
  auto box = NextBox(kStartLimit);
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(Looks(*box, {L"one, \r\ntwo", L"Box title", shown.icon, shown.buttons}));

  int answer = shown.buttons.back();
  ASSERT_TRUE(Answer(*box, answer));
  EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(answer));
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
