// A command that waits, here for a subst held up by a program slow to take its drive
// announcement: meanwhile the window takes its messages as it does under a box, runs no command
// clicked and cannot be closed; once the wait is over, only the command's own box follows.

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "program_test.h"
#include "slow_window.h"

namespace {

using namespace e2e;

class Waits : public ProgramTest {};

TEST_F(Waits, ASlowSubstLeavesTheWindowAnsweringAndRunsNothingClickedMeanwhile) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, kWork));
  ASSERT_TRUE(PickFree(L'K'));
  const HWND path = Control(main_, ids::txtPath);
  ASSERT_NE(path, nullptr);
  SlowWindow slow(4000);

  Press(ids::cmdOk);
  ASSERT_TRUE(WaitFor([&] { return !slow.Announcements().empty(); })) << "subst announced nothing";
  EXPECT_FALSE(IsWindowEnabled(main_)) << "the window takes clicks while subst runs";
  // All three would run once the wait is over if they were only held back.
  Press(ids::cmdOk);
  Press(ids::cmdRemove);
  PostMessageW(main_, WM_CLOSE, 0, 0);

  Duration longest{0};
  int markers = 0;
  for (int end = 1; !slow.Announcements().front().answered; end = 3 - end, ++markers) {
    longest = std::max(longest, MarkerDelay(path, end));
  }
  std::printf("[   TIME   ] longest wait of a posted message during a 4-s subst: %lld ms (%d)\n",
              static_cast<long long>(longest.count()), markers);
  EXPECT_GE(markers, 3);
  EXPECT_LT(longest, 500ms) << "the window left a posted message waiting";

  ASSERT_TRUE(AnswerNext(kDone, IDOK)) << "after Add";
  EXPECT_TRUE(IsWindow(main_)) << "the window closed during the wait";
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_TRUE(Quiet()) << "a command clicked during the wait ran after it";
  EXPECT_TRUE(Mapped(L'K'));
  EXPECT_TRUE(Lists(Used(), L'K'));
}

}  // namespace
