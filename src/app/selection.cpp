#include "app/selection.h"

namespace kestrane {

namespace {

constexpr std::size_t kShownWhole = 66;  // longer paths are shortened in the path box
constexpr std::size_t kKeptTail = 63;

}  // namespace

std::string Selection::LetterIn(List list) const {
  return (list == List::Avail ? availEntry_ : usedEntry_).substr(0, 1);
}

void Selection::Pick(List list, const std::string& entry) {
  (list == List::Avail ? availEntry_ : usedEntry_) = entry;
  ltr_ = entry.substr(0, 1);
  ltrList_ = list;
}

int Selection::FollowRebuild(List list, const std::vector<std::string>& entries) {
  std::string& entry = list == List::Avail ? availEntry_ : usedEntry_;
  for (std::size_t i = 0; !entry.empty() && i < entries.size(); ++i) {
    if (entries[i] == entry) return static_cast<int>(i);
  }
  entry.clear();
  if (ltrList_ == list) ltr_.clear();
  return -1;
}

std::string ShortenedPath(const std::string& path) {
  if (path.size() <= kShownWhole) return path;
  std::size_t cut = path.size() - kKeptTail;
  // Never half a character.
  while (cut < path.size() && (static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80) ++cut;
  return "....." + path.substr(cut);
}

std::string Selection::ShownFolder() const { return ShortenedPath(hold_); }

std::string Selection::HiddenBase() const {
  if (!hold_.empty() && hold_.back() == '\\') return hold_.substr(0, 2);
  return hold_;
}

void Selection::EnterHidden(const std::string& subFolder) {
  const std::string base = HiddenBase();
  subFolder_ = subFolder;
  path_ = base + "\\" + subFolder;
  hidden_ = true;
}

}  // namespace kestrane
