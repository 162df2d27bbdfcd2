#pragma once
// Checks the end-to-end groups share.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace e2e {

inline constexpr wchar_t kMainTitle[] = L"Kestrane - Pro";
// The folder most groups map, and the files the user finds through the mapping.
inline constexpr wchar_t kWork[] = L"C:\\Work";
inline const std::vector<std::wstring> kWorkFiles = {L"notes.txt", L"plan.txt"};
// C:\Work with the files kWorkFiles names, each holding its own name.
inline void MakeWorkFolder() {
  CreateFolders(kWork);
  WriteText(std::wstring(kWork) + L"\\notes.txt", "notes\r\n");
  WriteText(std::wstring(kWork) + L"\\plan.txt", "plan\r\n");
}

// A box's buttons, in the order Box::buttons lists them.
inline const std::vector<int> kOkOnly = {IDOK};
inline const std::vector<int> kOkCancel = {IDOK, IDCANCEL};
inline const std::vector<int> kYesNoCancel = {IDCANCEL, IDYES, IDNO};

// The mask bit of a drive letter in the data file.
inline std::int32_t Bit(wchar_t letter) { return std::int32_t{1} << (letter - L'A'); }

// A message box as the user sees it: its text, title, icon and buttons.
inline void ExpectBox(const Box& box, const std::wstring& text, const std::wstring& title,
                      Icon icon, const std::vector<int>& buttons) {
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.title, title);
  EXPECT_EQ(box.icon, icon);
  EXPECT_EQ(box.buttons, buttons);
}

}  // namespace e2e
