#pragma once
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/file_error.h"
#include "platform/files.h"

namespace kestrane {

inline constexpr char kDataFileName[] = "himem32.qor";  // in the data folder
inline constexpr int kRecordLength = 1250;
inline constexpr int kRecordCount = 2;
inline constexpr std::uint64_t kDataFileSize = std::uint64_t{kRecordLength} * kRecordCount;
inline constexpr int kLiveRecord = 2;
inline constexpr std::int32_t kInitialMask = 134217728;  // bit 27 alone

// Where each field stands in a record; the fields end at kRecordBytes and the rest of the slot
// carries none.
namespace field {
inline constexpr std::size_t kReserved1 = 0;
inline constexpr std::size_t kText1 = 4;
inline constexpr std::size_t kText2 = 56;
inline constexpr std::size_t kReserved2 = 108;
inline constexpr std::size_t kLetterMask = 116;
}  // namespace field
inline constexpr int kRecordBytes = 120;

// One record of the data file, decoded byte by byte (little-endian).
struct DataRecord {
  std::int32_t Reserved1 = 0;
  std::array<std::uint8_t, field::kText2 - field::kText1> Text1{};
  std::array<std::uint8_t, field::kReserved2 - field::kText2> Text2{};
  std::array<std::uint8_t, field::kLetterMask - field::kReserved2> Reserved2{};
  std::int32_t LetterMask = 0;
  // Bytes 120 to 1,249 of the slot, carried through a rewrite as they were.
  std::array<std::uint8_t, kRecordLength - kRecordBytes> Tail{};

  static DataRecord Decode(const Bytes& slot);
  Bytes Encode() const;
  bool operator==(const DataRecord&) const = default;
};

// Bit of a letter in the mask; letters outside A..Z (index beyond 0..31) change nothing.
std::int32_t WithLetterSet(std::int32_t mask, char letter);
std::int32_t WithLetterCleared(std::int32_t mask, char letter);
bool LetterIsSet(std::int32_t mask, char letter);

// The data file is missing or not of its installed size: nothing is read from it or written to
// it, so that a damaged file is never padded or created anew. A state of the file, not a failure
// of the file layer: no FileError, so a handler meant for a failed read or write never takes it
// for one by accident.
class DataFileDamaged : public std::runtime_error {
 public:
  DataFileDamaged() : std::runtime_error("The data file is missing or damaged") {}
};

// The data file, where the installer put it. Each access opens the file and reads record 2 as it
// is now, so that what another copy of the program wrote meanwhile is kept; the writing ones
// change the mask alone and write the whole record back, so the other fields keep their bytes.
// Afterwards PermMask() is the stored mask. A failure is the port's FileError, or
// DataFileDamaged.
class DataFile {
 public:
  explicit DataFile(Files& files) : files_(files) {}

  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& Path() const { return path_; }
  // There, and of the size the installer made it.
  bool IsWhole();

  // Start-up: the mask as stored.
  void Load() { ReadMask(); }
  // Remove: the stored mask, read at the moment it is asked about.
  std::int32_t ReadMask();
  // Make Permanent: the stored mask gains the letter's bit.
  void SetLetter(char letter);
  // Removing a permanent letter: the stored mask loses the letter's bit.
  void ClearLetter(char letter);
  // Restore: the stored mask becomes the initial value.
  void ResetMask();
  // The mask as last read or written; 0 before the first.
  std::int32_t PermMask() const { return permMask_; }

 private:
  template <typename Change>
  void Rewrite(Change change);
  void RequireWhole();
  std::unique_ptr<RecordFile> Open();

  Files& files_;
  std::string path_;
  std::int32_t permMask_ = 0;
};

}  // namespace kestrane
