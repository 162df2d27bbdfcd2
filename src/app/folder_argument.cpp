#include "app/folder_argument.h"

#include <algorithm>
#include <optional>

#include "platform/ascii_text.h"
#include "platform/file_error.h"
#include "platform/paths.h"

namespace kestrane {

namespace {

bool IsSlash(char ch) { return ch == '\\' || ch == '/'; }

// Quotes a caller left around the text go. A closing quote that stayed at the end stands for
// the trailing backslash Windows' splitting took as its escape ("C:\" arrives as C:").
std::string Unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  if (!text.empty() && text.back() == '"') text.back() = '\\';
  return text;
}

// The full path a text names from `here`, the current directory; empty for a share, also one
// reached through a current directory on a share. "C:" alone is the drive's root, as Explorer
// means it, not the drive's current directory.
std::string FullPath(const std::string& text, const std::string& here) {
  if (IsSharePath(text)) return {};
  if (HasDriveLetter(text)) {
    if (text.size() == 2 || IsSlash(text[2])) return NormalPath(text);
    const bool hereOnDrive = HasDriveLetter(here) && AsciiUpper(here[0]) == AsciiUpper(text[0]);
    return NormalPath((hereOnDrive ? here : DriveRoot(text[0])) + "\\" + text.substr(2));
  }
  if (!HasDriveLetter(here)) return {};
  if (!text.empty() && IsSlash(text[0])) return NormalPath(here.substr(0, 2) + text);
  return NormalPath(here + "\\" + text);
}

std::string Parent(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash <= 2 ? path.substr(0, 3) : path.substr(0, slash);
}

// Whether the folder list shows the folder among its parent's sub-folders, so that a walk could
// reach it. A parent that cannot be listed does not hide it: the list names ancestors unlisted.
bool ListCanShow(const std::string& folder, Files& files) {
  if (folder.size() == 3) return true;
  if (!files.DirectoryExists(folder, false)) return false;
  std::vector<std::string> siblings;
  try {
    siblings = files.SubFolders(Parent(folder));
  } catch (const FileError&) {
    return true;
  }
  const std::string name = folder.substr(folder.find_last_of('\\') + 1);
  return std::any_of(siblings.begin(), siblings.end(),
                     [&](const std::string& s) { return SameIgnoringCase(s, name); });
}

FolderArrival Refused(ArrivalKind kind, std::string path, std::string why = {}) {
  return {kind, std::move(path), false, std::move(why)};
}

// One item; `isFile` tells a file's folder from a folder named itself.
FolderArrival ReadOne(const std::string& item, Files& files, Drives& drives, bool& isFile) {
  const std::string text = Unquoted(item);
  if (text.empty()) return Refused(ArrivalKind::NotFound, text);
  std::string full;
  try {
    full = FullPath(text, files.CurrentDirectory());
    if (full.empty()) return Refused(ArrivalKind::Network, text);
    // A name no folder can have never reaches the folder list or a command line: quotes or
    // control characters could end subst's argument early or start another.
    if (HasForbiddenNameChar(full)) return Refused(ArrivalKind::NotFound, text);
    // Refused before the file system is asked, which could answer for a folder of a shorter name.
    if (TargetLimitOf(full) != TargetLimit::None) return Refused(ArrivalKind::Unmappable, full);
    if (drives.Type(full[0]) == DriveType::Remote) return Refused(ArrivalKind::Network, full);
  } catch (const FileError&) {
    return Refused(ArrivalKind::NotFound, full.empty() ? text : full);  // no such drive
  }
  try {
    std::string folder = full;
    if (!files.DirectoryExists(full, true)) {
      if (!files.FileExists(full)) return Refused(ArrivalKind::NotFound, full);
      folder = Parent(full);
      isFile = true;
    }
    files.SubFolders(folder);  // a folder the list cannot open is refused before it is chosen
    return {ArrivalKind::Folder, folder, !ListCanShow(folder, files), {}};
  } catch (const NoAnswer& e) {
    return Refused(ArrivalKind::NoAnswer, e.Path());
  } catch (const FileError& e) {
    return Refused(ArrivalKind::Unreadable, full, ErrorText(e));
  }
}

}  // namespace

FolderArrival ReadArrival(const std::vector<std::string>& items, ArrivalWay way, Files& files,
                          Drives& drives) {
  if (items.empty()) return {};
  if (way == ArrivalWay::CommandLine) {
    bool isFile = false;
    if (items.size() == 1) return ReadOne(items[0], files, drives, isFile);
    std::string given;
    for (const std::string& item : items) given += (given.empty() ? "\"" : " \"") + item + "\"";
    return Refused(ArrivalKind::TooMany, given);
  }
  std::optional<FolderArrival> fileFolder;
  std::optional<FolderArrival> refusal;
  for (const std::string& item : items) {
    bool isFile = false;
    FolderArrival one = ReadOne(item, files, drives, isFile);
    if (one.kind == ArrivalKind::Folder && !isFile) return one;
    auto& kept = one.kind == ArrivalKind::Folder ? fileFolder : refusal;
    if (!kept) kept = std::move(one);
  }
  return fileFolder ? *fileFolder : *refusal;
}

}  // namespace kestrane
