#include "win32/ui/metrics.h"

#include <cmath>
#include <initializer_list>
#include <map>
#include <string>

#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {

// The platform's dialog font, which the layout was designed around: Tahoma since Windows 2000
// and in Wine.
const FontSpec kDialogFont{"MS Shell Dlg 2", 8, false};

// Faces that stand in for a missing one, closest in width first, so that captions designed for
// the missing face still fit their boxes.
struct Substitutes {
  const wchar_t* face;
  std::initializer_list<const wchar_t*> faces;
};
const Substitutes kSubstitutes[] = {
    {L"MS Sans Serif", {L"Microsoft Sans Serif", L"Liberation Sans", L"Arial", L"Tahoma"}},
    {L"MS Shell Dlg 2", {L"Tahoma", L"Microsoft Sans Serif", L"Liberation Sans", L"Arial"}},
    {L"Arial", {L"Liberation Sans", L"Arimo", L"Nimbus Sans", L"Microsoft Sans Serif", L"Tahoma"}},
    {L"Verdana", {L"DejaVu Sans", L"Bitstream Vera Sans", L"Tahoma"}},
};
constexpr std::initializer_list<const wchar_t*> kAnySans = {
    L"Microsoft Sans Serif", L"Tahoma", L"Arial", L"Liberation Sans", L"DejaVu Sans"};

// Only a face drawn from outlines takes every size. MS Sans Serif, on Windows as in Wine, is a
// set of bitmaps in a few sizes: asked for 9.75 points at 144 dpi it gives its 120-dpi size.
int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
  if (type & RASTER_FONTTYPE) return 1;
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, face.size());
  bool found = false;
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  EnumFontFamiliesExW(dc.Get(), &lf, &FoundFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring FindFace(const std::wstring& wanted) {
  if (FaceInstalled(wanted)) return wanted;
  std::initializer_list<const wchar_t*> faces = kAnySans;
  for (const Substitutes& s : kSubstitutes) {
    if (_wcsicmp(s.face, wanted.c_str()) == 0) faces = s.faces;
  }
  for (const wchar_t* face : faces) {
    if (FaceInstalled(face)) return face;
  }
  return wanted;  // let the font mapper pick
}

// Asking the system for the installed faces is slow enough to count at start-up, and a program
// runs through new fonts only at a change of DPI: each answer is kept.
std::wstring AvailableFace(const std::wstring& wanted) {
  static std::map<std::wstring, std::wstring> found;
  const auto known = found.find(wanted);
  if (known != found.end()) return known->second;
  return found.emplace(wanted, FindFace(wanted)).first->second;
}

}  // namespace

Dpi ScreenDpi() {
  // The system's resolution holds for the life of a process (changing it takes a new logon), and
  // the screen's device context is a round trip to the window server: asked once.
  static const Dpi screen = [] {
    Dpi dpi;
    const HDC dc = GetDC(nullptr);
    if (dc != nullptr) {
      dpi.x = GetDeviceCaps(dc, LOGPIXELSX);
      dpi.y = GetDeviceCaps(dc, LOGPIXELSY);
      ReleaseDC(nullptr, dc);
    }
    if (dpi.x <= 0) dpi.x = 96;
    if (dpi.y <= 0) dpi.y = 96;
    return dpi;
  }();
  return screen;
}

Dpi WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  // Looked up, not imported: Windows 7 and 8 have no such function.
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi != nullptr && window != nullptr) {
    const int dpi = static_cast<int>(getDpi(window));
    if (dpi > 0) return Dpi{dpi, dpi};
  }
  return ScreenDpi();
}

RECT ToPixels(const TwipsRect& rect, Dpi dpi) {
  RECT r;
  r.left = TwipsToPixels(rect.left, dpi.x);
  r.top = TwipsToPixels(rect.top, dpi.y);
  r.right = r.left + TwipsToPixels(rect.width, dpi.x);
  r.bottom = r.top + TwipsToPixels(rect.height, dpi.y);
  return r;
}

int PixelsToTwips(int pixels, int dpi) {
  const long long scaled = static_cast<long long>(pixels) * kTwipsPerInch;
  return static_cast<int>((scaled + (scaled >= 0 ? dpi / 2 : -dpi / 2)) / dpi);
}

int ScaleX(int pixelsAt96, Dpi dpi) { return MulDiv(pixelsAt96, dpi.x, 96); }
int ScaleY(int pixelsAt96, Dpi dpi) { return MulDiv(pixelsAt96, dpi.y, 96); }

Font CreateStandardFont(Dpi dpi) { return CreateSpecFont(kDialogFont, dpi); }

Font CreateSpecFont(const FontSpec& design, Dpi dpi) {
  if (design.face.empty()) return CreateStandardFont(dpi);
  const std::wstring face = AvailableFace(Widen(design.face));
  const int height = -static_cast<int>(std::lround(design.points * dpi.y / 72.0));
  return Font(CreateFontW(height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, face.c_str()));
}

TEXTMETRICW TextMetricsOf(HFONT font) {
  TEXTMETRICW tm{};
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  const HGDIOBJ old = SelectObject(dc.Get(), font);
  GetTextMetricsW(dc.Get(), &tm);
  SelectObject(dc.Get(), old);
  return tm;
}

}  // namespace kestrane::win32
