#include "permanent/startup_script.h"

#include <algorithm>
#include <cctype>

namespace kestrane {

namespace {

bool IsBlank(const std::string& line) {
  return std::all_of(line.begin(), line.end(),
                     [](char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; });
}

}  // namespace

std::string StartupScript::Folder() {
  std::string folder = shell_.StartupFolder();
  folder = folder.substr(0, folder.find('\0'));
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string StartupScript::Path() {
  const std::string folder = Folder();
  return folder.empty() ? folder : folder + "\\" + kStartupBatch;
}

bool StartupScript::Lists(const std::string& batch, char letter) {
  if (!files_.FileExists(batch)) return false;
  const std::vector<std::string> lines = files_.ReadLines(batch);
  return std::any_of(lines.begin(), lines.end(),
                     [letter](const std::string& line) { return NamesLetter(line, letter); });
}

bool StartupScript::Names(char letter) {
  const std::string batch = Path();
  try {
    return !batch.empty() && Lists(batch, letter);
  } catch (const FileError&) {
    return false;
  }
}

StartupScript::Before StartupScript::Rewrite(const std::string& batch,
                                             const std::function<Lines(const Lines&)>& keep) {
  if (!files_.FileExists(batch)) return std::nullopt;
  Lines lines = files_.ReadLines(batch);
  const Lines kept = keep(lines);
  if (kept.size() == lines.size()) return lines;
  if (std::all_of(kept.begin(), kept.end(), IsBlank)) {
    files_.Delete(batch);
  } else {
    files_.ReplaceLines(batch, kept);
  }
  return lines;
}

StartupScript::Before StartupScript::RemoveLetter(const std::string& batch, char letter) {
  return Rewrite(batch, [letter](const Lines& lines) { return LinesWithoutLetter(lines, letter); });
}

StartupScript::Before StartupScript::RemoveAllLetters() {
  const std::string batch = Path();
  if (batch.empty()) return std::nullopt;
  return Rewrite(batch, LinesOfOthers);
}

}  // namespace kestrane
