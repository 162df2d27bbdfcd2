#include "app/folder_list.h"

#include "platform/file_error.h"
#include "platform/paths.h"

namespace kestrane {

bool FolderList::SetPath(const std::string& path) {
  std::string full;
  if (path == "\\" || path == "/") {
    const std::string here = path_.empty() ? files_.CurrentDirectory() : path_;
    full = here.empty() ? std::string() : DriveRoot(here[0]);
  } else if (path.size() == 2 && HasDriveLetter(path)) {
    full = DriveRoot(path[0]);
  } else {
    full = NormalPath(path);
  }
  // Names the file system cannot hold are folders that cannot exist.
  if (full.empty() || HasForbiddenNameChar(full)) Fail(err::kPathNotFound);
  if (!files_.DirectoryExists(full, true)) Fail(err::kPathNotFound);
  const bool changed = full != path_;
  std::vector<std::string> subs = files_.SubFolders(full);
  path_ = full;
  subfolders_ = std::move(subs);
  ancestors_.clear();
  const std::string root = full.substr(0, 3);
  if (full.size() == 3) {
    current_ = root;
  } else {
    ancestors_.push_back(root);
    std::size_t start = 3;
    for (;;) {
      const std::size_t slash = full.find('\\', start);
      if (slash == std::string::npos) {
        current_ = full.substr(start);
        break;
      }
      ancestors_.push_back(full.substr(start, slash - start));
      start = slash + 1;
    }
  }
  return changed;
}

std::vector<Controls::FolderRow> FolderList::Rows() const {
  std::vector<Controls::FolderRow> rows;
  int depth = 0;
  for (const auto& a : ancestors_) rows.push_back({a, depth++, true});
  if (!path_.empty()) rows.push_back({current_, depth++, true});
  for (const auto& s : subfolders_) rows.push_back({s, depth, false});
  return rows;
}

std::string FolderList::RowPath(int row) const {
  if (row < 0 || path_.empty()) return {};
  const int n = static_cast<int>(ancestors_.size());
  if (row <= n) {
    std::string out = path_.substr(0, 3);
    for (int i = 1; i <= row; ++i) {
      if (i > 1) out += '\\';
      out += i < n ? ancestors_[i] : (i == n ? current_ : std::string());
    }
    return out;
  }
  const std::size_t sub = static_cast<std::size_t>(row - n - 1);
  if (sub >= subfolders_.size()) return {};
  return path_.size() == 3 ? path_ + subfolders_[sub] : path_ + "\\" + subfolders_[sub];
}

}  // namespace kestrane
