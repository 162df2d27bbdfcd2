#include "win32/ui/base_window.h"

#include <string>

#include "info/version.h"
#include "win32/platform/modal_wait.h"
#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {
bool appBusy = false;
}  // namespace

void ReportUnexpected(HWND owner, const char* what) noexcept {
  try {
    std::wstring text = L"An unexpected error occurred";
    if (what != nullptr && *what != '\0') text += L":\r\n\r\n" + Widen(what);
    text += L"\r\n\r\nThe last action may not have been completed.";
    const HWND shownOwner = (owner != nullptr && IsWindowVisible(owner)) ? owner : nullptr;
    MessageBoxW(shownOwner, text.c_str(), app::kWideTitle,
                MB_OK | MB_ICONHAND | (shownOwner == nullptr ? MB_TASKMODAL : 0));
  } catch (...) {
    MessageBoxW(nullptr, L"An unexpected error occurred.", app::kWideTitle,
                MB_OK | MB_ICONHAND | MB_TASKMODAL);
  }
}

void SetAppBusy(bool busy) noexcept {
  appBusy = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool AppBusy() noexcept { return appBusy; }

bool ApplyAppCursor() noexcept {
  if (!appBusy && !InModalWait()) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

}  // namespace kestrane::win32
