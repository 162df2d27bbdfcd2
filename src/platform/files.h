#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/port.h"

namespace kestrane {

using Bytes = std::vector<std::uint8_t>;

// A file opened for record access; closed when destroyed.
class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  virtual ~RecordFile() = default;
  // Reads slot n (from 1); bytes past the end of the file read as zeros.
  virtual Bytes Read(int record) = 0;
  virtual void Write(int record, const Bytes& bytes) = 0;
};

// A set of files held for one copy of the program while it reads and rewrites them; let go when
// destroyed.
class FileLease {
 public:
  FileLease() = default;
  FileLease(const FileLease&) = delete;
  FileLease& operator=(const FileLease&) = delete;
  virtual ~FileLease() = default;
};

// The file layer. Every failure is a FileError with its classic number.
class Files : public Port {
 public:
  // A plain file (normal or hidden) at the path.
  virtual bool FileExists(const std::string& path) = 0;
  // A directory at the path; hidden ones only when asked for.
  virtual bool DirectoryExists(const std::string& path, bool includeHidden) = 0;
  // The names of the visible sub-folders of a folder, sorted as the folder list shows them.
  virtual std::vector<std::string> SubFolders(const std::string& path) = 0;
  // The size in bytes of a plain file; FileError 53 when there is none.
  virtual std::uint64_t FileSize(const std::string& path) = 0;
  // The process's current directory, as a full path.
  virtual std::string CurrentDirectory() = 0;

  virtual std::unique_ptr<RecordFile> OpenRecords(const std::string& path, int recordLength) = 0;

  // Text files, in the code page the command interpreter reads (batch files, command output),
  // lines ended by CR LF.
  // Whether a text can be written in that code page without loss.
  virtual bool CanEncode(const std::string& text) = 0;
  // The short (8.3) form of an existing path, which reaches the same file in any code page;
  // empty when the volume keeps none. Never throws.
  virtual std::string ShortPath(const std::string& path) = 0;
  virtual std::vector<std::string> ReadLines(const std::string& path) = 0;
  virtual void AppendLine(const std::string& path, const std::string& line) = 0;
  // Writes the lines to a scratch file beside the target and replaces the target in one step.
  virtual void ReplaceLines(const std::string& path, const std::vector<std::string>& lines) = 0;
  virtual void Delete(const std::string& path) = 0;

  // Holds the files kept together under `path` against every other copy of the program, which
  // waits meanwhile: a read and rewrite then never interleaves with another one. Waits at most
  // waitMs for the copy holding them; past that, FileError 55 (the files are in use).
  virtual std::unique_ptr<FileLease> Lease(const std::string& path, int waitMs) = 0;
};

}  // namespace kestrane
