#pragma once
// Checks the end-to-end groups share.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace e2e {

// The mask bit of a drive letter in the data file.
inline std::int32_t Bit(wchar_t letter) { return std::int32_t{1} << (letter - L'A'); }

// A message box as the user sees it: its text, title, icon and buttons.
inline void ExpectBox(const Box& box, const std::wstring& text, const std::wstring& title, Icon icon,
                      const std::vector<int>& buttons) {
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.title, title);
  EXPECT_EQ(box.icon, icon);
  EXPECT_EQ(box.buttons, buttons);
}

}  // namespace e2e
