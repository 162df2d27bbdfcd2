#pragma once
#include <string>
#include <vector>

#include "platform/files.h"
#include "ui/controls.h"

namespace kestrane {

// The folder list's model: the ancestors of the current folder, the folder itself and its
// visible sub-folders. The toolkit has no such control, so the window only draws these rows.
class FolderList {
 public:
  explicit FolderList(Files& files) : files_(files) {}

  // "C:\" for a drive root, "C:\Windows" otherwise; empty before the first SetPath.
  const std::string& Path() const { return path_; }

  // Makes a folder current. "\" is the root of the current drive, "X:" the root of drive X.
  // Throws FileError 76 when the folder does not exist. Returns whether the folder changed.
  bool SetPath(const std::string& path);

  std::vector<Controls::FolderRow> Rows() const;
  int CurrentRow() const { return static_cast<int>(ancestors_.size()); }
  // The full path of a row, or empty when there is no such row.
  std::string RowPath(int row) const;

 private:
  Files& files_;
  std::string path_;
  std::vector<std::string> ancestors_;  // "C:\", then each folder name down to the parent
  std::string current_;                 // name of the current folder ("C:\" for a root)
  std::vector<std::string> subfolders_;
};

}  // namespace kestrane
