#include "win32/ui/dialog_base.h"

namespace kestrane::win32 {

RECT CentringArea(HWND owner) {
  RECT area{};
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner) &&
      GetWindowRect(owner, &area)) {
    return area;
  }
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return area;
}

}  // namespace kestrane::win32
