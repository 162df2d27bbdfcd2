#include "win32/ui/caption.h"

namespace kestrane::win32 {

std::wstring ShownText(const std::wstring& caption, bool prefix) {
  if (!prefix) return caption;
  std::wstring shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

namespace {

// One paragraph (no line feeds) into lines.
void BreakParagraph(const std::wstring& text, int width, bool prefix,
                    const std::function<int(const std::wstring&)>& shownWidth,
                    std::vector<std::wstring>& lines) {
  std::wstring line;
  bool lineHasWord = false;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t wordStart = text.find_first_not_of(L' ', at);
    if (wordStart == std::wstring::npos) break;  // spaces at the end show nothing
    const std::size_t wordEnd = std::min(text.find(L' ', wordStart), text.size());
    const std::wstring gap = text.substr(at, wordStart - at);
    const std::wstring word = text.substr(wordStart, wordEnd - wordStart);
    const std::wstring longer = line + gap + word;
    if (lineHasWord && shownWidth(ShownText(longer, prefix)) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
    lineHasWord = true;
    at = wordEnd;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::wstring> BreakCaption(const std::wstring& caption, int width, bool prefix,
                                       const std::function<int(const std::wstring&)>& shownWidth) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = caption.find_first_of(L"\r\n", start);
    BreakParagraph(caption.substr(start, end - start), width, prefix, shownWidth, lines);
    if (end == std::wstring::npos) break;
    start = end + (caption.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

void DrawCaption(HDC dc, const std::wstring& caption, const RECT& box, const CaptionStyle& style) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const auto shownWidth = [dc](const std::wstring& text) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return static_cast<int>(extent.cx);
  };
  const std::vector<std::wstring> lines =
      BreakCaption(caption, box.right - box.left, style.prefix, shownWidth);
  int top = box.top;
  if (style.centred) {
    top += (box.bottom - box.top - static_cast<int>(lines.size()) * tm.tmHeight) / 2;
  }
  UINT format = DT_SINGLELINE | DT_TOP;
  format |= style.align == Align::Right ? DT_RIGHT : style.align == Align::Center ? DT_CENTER : 0;
  if (!style.prefix) format |= DT_NOPREFIX;
  if (style.prefix && style.hidePrefix) format |= DT_HIDEPREFIX;
  for (const std::wstring& line : lines) {
    RECT r{box.left, top, box.right, top + tm.tmHeight};
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, format);
    top += tm.tmHeight;
  }
}

}  // namespace kestrane::win32
