#pragma once
#include <stdexcept>
#include <string>

namespace kestrane {

// The classic error numbers the handlers' policies are written in.
namespace err {
// Also what a failure without a number of its own is shown as.
inline constexpr int kInvalidCall = 5;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileInUse = 55;  // another program holds the file
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kDiskNotReady = 71;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kBadFileName = 52;
}  // namespace err

// A failure of the file, drive or process layer, carrying its classic number.
class FileError : public std::runtime_error {
 public:
  FileError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int Number() const { return number_; }
  std::string Description() const { return what(); }

 private:
  int number_;
};

// A drive or folder that gave no answer within its limit (a network share whose server is out of
// reach): it is not entered, and the user is told in plain words which one it was.
class NoAnswer : public FileError {
 public:
  explicit NoAnswer(const std::string& path)
      : FileError(err::kDeviceUnavailable, path + " does not answer"), path_(path) {}
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The standard description for a number, as the handlers' boxes show it.
std::string ErrorDescription(int number);

// A failure as the boxes name it: "Error 70: Permission denied".
inline std::string ErrorText(int number, const std::string& description) {
  return "Error " + std::to_string(number) + ": " + description;
}
inline std::string ErrorText(const FileError& e) { return ErrorText(e.Number(), e.Description()); }

[[noreturn]] inline void Fail(int number) { throw FileError(number, ErrorDescription(number)); }

}  // namespace kestrane
