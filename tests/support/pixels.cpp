#include <cstdlib>

#include "e2e_support.h"

namespace e2e {
namespace {

// Runs `draw(memory, screen)` on a bitmap like the screen's and reads it back row by row.
template <typename Draw>
Pixels Drawn(int width, int height, Draw draw) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory, screen);
  Pixels pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace

Pixels ScreenPixels(HWND window, int width, int height) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return Drawn(width, height, [&](HDC memory, HDC screen) {
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  });
}

Pixels IconPixels(HICON icon, int width, int height, COLORREF background) {
  return Drawn(width, height, [&](HDC memory, HDC) {
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  });
}

long ColourDistance(const Pixels& a, const Pixels& b) {
  long sum = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    sum += std::abs(GetRValue(a[i]) - GetRValue(b[i])) +
           std::abs(GetGValue(a[i]) - GetGValue(b[i])) +
           std::abs(GetBValue(a[i]) - GetBValue(b[i]));
  }
  return sum;
}

}  // namespace e2e
